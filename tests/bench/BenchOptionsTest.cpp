#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "BenchOptions.h"

using bench::BenchOptions;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

constexpr const char* kTable = R"(# a comment --commented=N
value N        [0-9]{1,9}
value SECONDS  ([0-9]+[.]?[0-9]*|[.][0-9]+)([eE][-+]?[0-9]+)?

programs FirstBench
programs SecondBench
--benchmark_filter=REGEX      the cases that run (default: every case)
--benchmark_min_time=SECONDS  least time (default: 0.5)
--benchmark_time_unit=ns|us|ms|s  unit (default: ns)

programs RoundsBench
--rounds=N      rounds (default: 40)
--pending=N     pending scores (default: every case)
)";

// check() on a command line; its status (nullopt: run) and what it printed.
struct Checked {
    std::optional<int> status;
    std::string out, err;
};

Checked check(const BenchOptions& options, std::vector<std::string> args)
{
    args.insert(args.begin(), "Bench");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const auto status = options.check(static_cast<int>(argv.size()), argv.data());
    std::string out = ::testing::internal::GetCapturedStdout();
    return {status, out, ::testing::internal::GetCapturedStderr()};
}

std::string tableFile()
{
    std::ifstream file(HC_BENCH_OPTIONS_FILE);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// An example value that VALUE's pattern takes.
std::string exampleOf(const std::string& value)
{
    if (value == "N") return "1";
    if (value == "SECONDS") return "0.1";
    if (value == "KEY=VALUE,...") return "machine=test";
    return value.substr(0, value.find('|'));  // a choice's first, or any text
}

// Exits 0 when Google Benchmark takes `arg`, which it then removes from the
// command line.
[[noreturn]] void exitWhetherTaken(const std::string& arg)
{
    std::string name = "bench", given = arg;
    char* argv[] = {name.data(), given.data(), nullptr};
    int argc = 2;
    benchmark::Initialize(&argc, argv);
    std::exit(argc == 1 ? 0 : 3);
}

}  // namespace

TEST(BenchOptions, EachProgramTakesTheOptionsOfItsGroupOnly)
{
    const BenchOptions first(kTable, "FirstBench"), second(kTable, "SecondBench"), rounds(kTable, "RoundsBench");

    for (const BenchOptions* options : {&first, &second}) {
        EXPECT_NE(options->find("benchmark_filter"), nullptr);
        EXPECT_EQ(options->find("rounds"), nullptr);
    }
    EXPECT_NE(rounds.find("rounds"), nullptr);
    EXPECT_EQ(rounds.find("benchmark_filter"), nullptr);
    EXPECT_EQ(first.find("commented"), nullptr);
    EXPECT_TRUE(BenchOptions(kTable, "UnknownBench").options().empty());
}

TEST(BenchOptions, ValuesAreCheckedWholeAgainstTheirPatterns)
{
    const BenchOptions options(kTable, "FirstBench");
    const auto& minTime = *options.find("benchmark_min_time");
    const auto& unit = *options.find("benchmark_time_unit");

    for (const char* value : {"0.2", "1", ".5", "1e-6", "0.000001"}) EXPECT_TRUE(options.fits(minTime, value)) << value;
    for (const char* value : {"0.2s", "", "-1", "x1", "1e"}) EXPECT_FALSE(options.fits(minTime, value)) << value;
    EXPECT_TRUE(options.fits(unit, "ms"));
    // The choice is matched whole: not "msx", not the "s" at the end of "us".
    for (const char* value : {"msx", "xs", "h", ""}) EXPECT_FALSE(options.fits(unit, value)) << value;
}

TEST(BenchOptions, ACommandLineIsRefusedInOneLineNamingWhatIsWrong)
{
    const BenchOptions options(kTable, "RoundsBench");
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--rounds=3", "--benchmark_filter=x"}, "Bench: unknown option: --benchmark_filter=x\n"},
        {{"--ronuds=3"}, "Bench: unknown option: --ronuds=3\n"},
        {{"--rounds"}, "Bench: --rounds needs a value\n"},
        {{"--rounds=three"}, "Bench: --rounds=three: the value is not N\n"},
        {{"rounds=3"}, "Bench: unknown option: rounds=3\n"},
        {{"--help", "--bogus"}, "Bench: unknown option: --bogus\n"},
    };
    for (const auto& [args, said] : refused) {
        const Checked checked = check(options, args);
        EXPECT_EQ(checked.status, 2) << said;
        EXPECT_EQ(checked.err, said);
        EXPECT_EQ(checked.out, "");
    }
    EXPECT_EQ(check(options, {"--rounds=3", "--pending=10"}).status, std::nullopt);
}

TEST(BenchOptions, HelpListsTheProgramsOptionsWithTheirDefaults)
{
    const Checked checked = check(BenchOptions(kTable, "RoundsBench"), {"--rounds=3", "--help"});

    EXPECT_EQ(checked.status, 0);
    EXPECT_THAT(checked.out, ::testing::StartsWith("usage: Bench [--OPTION=VALUE...]\n"));
    EXPECT_THAT(checked.out, HasSubstr("  --rounds=N      rounds (default: 40)\n"));
    EXPECT_THAT(checked.out, HasSubstr("  --pending=N     pending scores (default: every case)\n"));
    EXPECT_THAT(checked.out, Not(HasSubstr("benchmark_filter")));
}

TEST(BenchOptions, ASizeIsTheOneGivenOrTheTablesWholeNumberDefault)
{
    const BenchOptions options(kTable, "RoundsBench");
    std::string program = "Bench", given = "--rounds=7", again = "--rounds=9";
    char* none[] = {program.data()};
    char* once[] = {program.data(), given.data()};
    char* twice[] = {program.data(), given.data(), again.data()};

    EXPECT_EQ(options.size(1, none, "rounds"), 40);
    EXPECT_EQ(options.size(2, once, "rounds"), 7);
    EXPECT_EQ(options.size(3, twice, "rounds"), 9);
    EXPECT_EQ(options.size(1, none, "pending"), std::nullopt);
}

// The table is what every program and scripts/bench let through: each
// Google Benchmark option in it, with a value it takes, must be one the
// library itself takes, or the program would refuse it after its work.
TEST(BenchOptions, EveryGoogleBenchmarkOptionInTheTableIsOneTheLibraryTakes)
{
    const std::string table = tableFile();
    ASSERT_THAT(table, HasSubstr("programs "));
    std::istringstream lines(table);
    std::vector<std::string> programs;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first != "programs") continue;
        for (std::string name; words >> name;) programs.push_back(name);
    }
    std::set<std::string> checked;
    for (const std::string& program : programs) {
        const BenchOptions options(table, program);
        for (const BenchOptions::Option& option : options.options()) {
            if (option.name.rfind("benchmark_", 0) != 0 && option.name != "v") continue;
            if (!checked.insert(option.name).second) continue;
            const std::string value = exampleOf(option.value);
            ASSERT_TRUE(options.fits(option, value)) << option.line;
            const std::string arg = "--" + option.name + "=" + value;
            // In a child: the library keeps what it parsed in globals.
            EXPECT_EXIT(exitWhetherTaken(arg), ::testing::ExitedWithCode(0), "") << arg;
        }
    }
    EXPECT_FALSE(checked.empty());
}
