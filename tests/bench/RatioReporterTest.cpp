#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "RatioReporter.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// The program's name as runBenchmarksWithRatio hands it to the library,
// which keeps the pointer for every later run's context line: it lives as
// long as the test program does, as a real program's argv[0] does.
char kProgram[] = "bench";

// A case whose iteration takes `seconds` by its own account, so that the
// ratios do not depend on the machine.
benchmark::internal::Benchmark* timedCase(const std::string& name, double seconds)
{
    return benchmark::RegisterBenchmark(name.c_str(),
                                        [seconds](benchmark::State& state) {
                                            for (auto _ : state) state.SetIterationTime(seconds);
                                        })
        ->UseManualTime()
        ->Iterations(1);
}

struct Report {
    std::string out, err;
    bool failed;
    int status;
};

// The registered cases run as a benchmark program runs them, given `args`
// after its name.
Report runCases(std::vector<RatioReporter::Comparison> comparisons, std::vector<std::string> args = {})
{
    RatioReporter reporter(std::move(comparisons));
    std::ostringstream out, err;
    reporter.SetOutputStream(&out);
    reporter.SetErrorStream(&err);
    std::vector<char*> argv{kProgram};
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int status = runBenchmarksWithRatio(static_cast<int>(argv.size()) - 1, argv.data(), reporter);
    return {out.str(), err.str(), reporter.failed(), status};
}

// Whether Google Benchmark, handed `filter` for a run of its own, says it
// cannot compile it.
bool libraryCannotCompile(const std::string& filter)
{
    benchmark::ConsoleReporter console;
    std::ostringstream out, err;
    console.SetOutputStream(&out);
    console.SetErrorStream(&err);
    benchmark::RunSpecifiedBenchmarks(&console, filter);
    return err.str().find("Could not compile benchmark re") != std::string::npos;
}

class RatioReporterTest : public ::testing::Test {
protected:
    void SetUp() override { benchmark::ClearRegisteredBenchmarks(); }
    void TearDown() override
    {
        benchmark::ClearRegisteredBenchmarks();
        benchmark::SetBenchmarkFilter("");
    }
};

}  // namespace

// The friends list's cases are one function run with three arguments: each
// ratio is that of the cases with the same argument, and a capture's name
// carries its own.
TEST_F(RatioReporterTest, ComparesCasesByTheirArgumentsAndCapturesByTheirNames)
{
    for (const char* name : {"BM_Ours", "BM_Raw"}) {
        benchmark::RegisterBenchmark(name,
                                     [name](benchmark::State& state) {
                                         const double scale = std::string(name) == "BM_Ours" ? 2.0 : 1.0;
                                         for (auto _ : state)
                                             state.SetIterationTime(scale * 1e-6 * static_cast<double>(state.range(0)));
                                     })
            ->Arg(100)
            ->Arg(1000)
            ->UseManualTime()
            ->Iterations(1);
    }
    timedCase("BM_OursCapture/64KB", 3e-3);
    timedCase("BM_RawCapture/64KB", 1e-3);
    timedCase("BM_RawCapture/256KB", 9e-3);

    const Report report = runCases({{"BM_Ours/100", "BM_Raw/1000", "100 against 1000"},
                                    {"BM_Ours/1000", "BM_Raw/1000", "1000 against 1000"},
                                    {"BM_OursCapture/64KB", "BM_RawCapture/64KB", "64 KB"}});

    EXPECT_THAT(report.out, HasSubstr("100 against 1000 time = 0.20\n"));
    EXPECT_THAT(report.out, HasSubstr("1000 against 1000 time = 2.00\n"));
    EXPECT_THAT(report.out, HasSubstr("64 KB time = 3.00\n"));
    EXPECT_FALSE(report.failed) << report.err;
}

// Each case prints in its own unit; a ratio is of the times themselves.
TEST_F(RatioReporterTest, RatioIsOfTheTimesWhateverUnitEachCasePrintsIn)
{
    timedCase("BM_InMilliseconds", 3e-3)->Unit(benchmark::kMillisecond);
    timedCase("BM_InMicroseconds", 1e-3)->Unit(benchmark::kMicrosecond);

    const Report report = runCases({{"BM_InMilliseconds", "BM_InMicroseconds", "units"}});

    EXPECT_THAT(report.out, HasSubstr("units time = 3.00\n"));
}

// With repetitions a case reports each run and their median: the ratio is
// the medians', not the last run's.
TEST_F(RatioReporterTest, RepeatedCasesAreComparedByTheirMedians)
{
    int run = 0;
    benchmark::RegisterBenchmark("BM_Repeated",
                                 [&run](benchmark::State& state) {
                                     const double seconds[] = {1e-3, 2e-3, 9e-3};
                                     for (auto _ : state) state.SetIterationTime(seconds[run % 3]);
                                     ++run;
                                 })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(3);
    timedCase("BM_Once", 1e-3);

    const Report report = runCases({{"BM_Repeated", "BM_Once", "median"}});

    EXPECT_THAT(report.out, HasSubstr("median time = 2.00\n"));
}

// A comparison that finds no result, because its name is misspelt or its
// case failed, fails the run and says which, instead of dropping the line.
// A filter chooses which cases run, not which failures count: one that lets
// the failed case and the misspelt name through fails the run the same way,
// and so does one that would have left the misspelt name out, since no
// case has it for the filter to leave out.
TEST_F(RatioReporterTest, AComparisonWithoutAResultFailsTheRunAndNamesTheCaseFilteredOrNot)
{
    for (const char* filter : {"", "Ours", "-Ours$"}) {
        SCOPED_TRACE(std::string("filter \"") + filter + "\"");
        benchmark::ClearRegisteredBenchmarks();
        timedCase("BM_Ours/100", 1e-3);
        benchmark::RegisterBenchmark("BM_OursBroken", [](benchmark::State& state) {
            for (auto _ : state) state.SkipWithError("the reply did not arrive");
        })->Iterations(1);
        timedCase("BM_Raw", 1e-3);
        benchmark::SetBenchmarkFilter(filter);

        const Report report =
            runCases({{"BM_Ours", "BM_Raw", "misspelt"}, {"BM_OursBroken", "BM_Raw", "broken"}});

        EXPECT_TRUE(report.failed);
        EXPECT_EQ(report.status, 1);
        EXPECT_THAT(report.err, HasSubstr("misspelt: no result for BM_Ours: no case has that name\n"));
        EXPECT_THAT(report.err, HasSubstr("broken: no result for BM_OursBroken: it failed: the reply did not arrive\n"));
        EXPECT_THAT(report.out, Not(HasSubstr(" time = ")));
    }
}

// --benchmark_filter runs some cases on purpose: a comparison it cut in
// half is said on a line of its own and the run passes.
TEST_F(RatioReporterTest, ACaseTheFilterLeftOutIsSaidWithoutFailingTheRun)
{
    timedCase("BM_HCXmlTree", 2e-3);
    timedCase("BM_ExpatOnly", 1e-3);
    timedCase("BM_Expat/1.5*[2]+(x)|y", 1e-3);  // a name of characters a regular expression reads otherwise
    benchmark::SetBenchmarkFilter("HCXml");

    const Report report =
        runCases({{"BM_HCXmlTree", "BM_ExpatOnly", "tree"}, {"BM_HCXmlTree", "BM_Expat/1.5*[2]+(x)|y", "odd"}});

    EXPECT_FALSE(report.failed) << report.err;
    EXPECT_EQ(report.status, 0);
    EXPECT_THAT(report.out, HasSubstr("tree: not compared, --benchmark_filter left out BM_ExpatOnly\n"));
    EXPECT_THAT(report.out, HasSubstr("odd: not compared, --benchmark_filter left out BM_Expat/1.5*[2]+(x)|y\n"));
}

// A leading '-' runs the cases the expression does not find, as Google
// Benchmark reads it: what it finds is left out, the rest must have run.
TEST_F(RatioReporterTest, ANegativeFilterLeavesOutWhatItFindsAndNothingElse)
{
    timedCase("BM_HCXmlTree", 2e-3);
    timedCase("BM_ExpatOnly", 1e-3);
    timedCase("BM_HCJson", 3e-3);
    timedCase("BM_YajlOnly", 1e-3);
    benchmark::SetBenchmarkFilter("-Expat");

    const Report report = runCases({{"BM_HCXmlTree", "BM_ExpatOnly", "tree"},
                                    {"BM_HCJson", "BM_YajlOnly", "json"},
                                    {"BM_HCJson", "BM_YajlTree", "misspelt"}});

    EXPECT_THAT(report.out, HasSubstr("tree: not compared, --benchmark_filter left out BM_ExpatOnly\n"));
    EXPECT_THAT(report.out, HasSubstr("json time = 3.00\n"));
    EXPECT_THAT(report.err, HasSubstr("misspelt: no result for BM_YajlTree: no case has that name\n"));
    EXPECT_TRUE(report.failed);
}

// The library matches a filter against a case's whole name, with what its
// registration adds ("/iterations:1", "/min_time:0.010",
// "/min_warmup_time:0.001", "/repeats:2", "/process_time/real_time",
// "/threads:2"): a filter on those leaves cases out as legitimately as one
// on their names.
TEST_F(RatioReporterTest, TheFilterIsMatchedAgainstTheWholeNameTheLibraryGivesACase)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> leftOutBy = {
        {"-iterations", {"BM_Counted", "BM_Threaded"}},
        {"-threads:2$", {"BM_Threaded"}},
        {"-BM_Counted/iterations:1/manual_time$", {"BM_Counted"}},
        {"-repeats:2/process_time/real_time$", {"BM_Repeated"}},
        {"min_time:0.010", {"BM_Counted", "BM_Threaded", "BM_Repeated"}},
    };
    for (const auto& [filter, leftOut] : leftOutBy) {
        SCOPED_TRACE("filter \"" + filter + "\"");
        benchmark::ClearRegisteredBenchmarks();
        timedCase("BM_Counted", 2e-3);
        benchmark::RegisterBenchmark("BM_Timed", [](benchmark::State& state) {
            for (auto _ : state) state.SetIterationTime(1e-3);
        })->UseManualTime()->MinTime(0.01);
        timedCase("BM_Threaded", 3e-3)->Threads(2);
        benchmark::RegisterBenchmark("BM_Repeated", [](benchmark::State& state) {
            for (auto _ : state) benchmark::DoNotOptimize(state.iterations());
        })->MinTime(0.001)->MinWarmUpTime(0.001)->Repetitions(2)->MeasureProcessCPUTime()->UseRealTime();
        benchmark::SetBenchmarkFilter(filter);

        const Report report = runCases({{"BM_Counted", "BM_Timed", "counted"},
                                        {"BM_Threaded", "BM_Timed", "threaded"},
                                        {"BM_Repeated", "BM_Timed", "repeated"}});

        EXPECT_FALSE(report.failed) << report.err;
        EXPECT_EQ(report.status, 0);
        for (const auto& [label, name] : {std::pair{"counted", "BM_Counted"}, std::pair{"threaded", "BM_Threaded"},
                                          std::pair{"repeated", "BM_Repeated"}}) {
            if (std::find(leftOut.begin(), leftOut.end(), name) != leftOut.end())
                EXPECT_THAT(report.out, HasSubstr(label + std::string(": not compared, --benchmark_filter left out ") +
                                                  name + "\n"));
            else
                EXPECT_THAT(report.out, HasSubstr(label + std::string(" time = ")));
        }
    }
}

// A filter the library cannot compile makes it run nothing and say so on a
// line easily lost above a passing run: it is refused as a bad option is,
// before any case runs. POSIX's regcomp takes several of these (glibc reads
// '\w' and '\d' as its extensions, an unmatched ')' and "a{,2}" as it
// pleases), the library's std::regex none: the library alone decides, and
// a filter it compiles runs, even one that finds no case.
TEST_F(RatioReporterTest, AFilterTheLibraryCannotCompileIsRefusedBeforeAnyCaseRuns)
{
    bool ran = false;
    benchmark::RegisterBenchmark("BM_Ours", [&ran](benchmark::State& state) {
        for (auto _ : state) ran = true;
    })->Iterations(1);
    for (const std::string filter : {"BM_(Ours", "BM_Friends)", "\\w", "BM_\\d", "a{,2}", "[[:word:]]", "*Ours",
                                     "-BM_Friends)", "--BM_Friends)"}) {
        SCOPED_TRACE("filter \"" + filter + "\"");
        ASSERT_TRUE(libraryCannotCompile(filter));
        ran = false;

        const Report report = runCases({{"BM_Ours", "BM_Ours", "itself"}}, {"--benchmark_filter=" + filter});

        EXPECT_EQ(report.status, 2);
        EXPECT_FALSE(ran);
        // The library's reason, then the refusal.
        EXPECT_THAT(report.err, HasSubstr("Could not compile benchmark re: "));
        EXPECT_THAT(report.err, ::testing::EndsWith("\nbench: --benchmark_filter is not a regular expression Google "
                                                    "Benchmark takes: " + filter + "\n"));
        EXPECT_EQ(report.out, "");
    }
    for (const std::string filter : {"BM_Ours", "\\(", "()", "-BM_", "NoSuchCase", "-", "--Ours"}) {
        SCOPED_TRACE("filter \"" + filter + "\"");
        ASSERT_FALSE(libraryCannotCompile(filter));

        const Report report = runCases({{"BM_Ours", "BM_Ours", "itself"}}, {"--benchmark_filter=" + filter});

        EXPECT_EQ(report.status, 0) << report.err;
        EXPECT_THAT(report.err, Not(HasSubstr("regular expression Google Benchmark takes")));
    }
}

// A filter that finds no case runs nothing, as the library's own run would,
// and the library says so once.
TEST_F(RatioReporterTest, AFilterThatFindsNoCaseRunsNothingAndSaysSoOnce)
{
    bool ran = false;
    benchmark::RegisterBenchmark("BM_Ours", [&ran](benchmark::State& state) {
        for (auto _ : state) ran = true;
    })->Iterations(1);
    benchmark::SetBenchmarkFilter("NoSuchCase");

    const Report report = runCases({{"BM_Ours", "BM_Ours", "itself"}});

    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_FALSE(ran);
    const std::string said = "Failed to match any benchmarks against regex: NoSuchCase\n";
    EXPECT_THAT(report.err, HasSubstr(said));
    EXPECT_EQ(report.err.find(said), report.err.rfind(said)) << report.err;
}
