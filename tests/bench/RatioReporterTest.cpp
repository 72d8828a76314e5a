#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "RatioReporter.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

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
};

Report runCases(std::vector<RatioReporter::Comparison> comparisons)
{
    RatioReporter reporter(std::move(comparisons));
    std::ostringstream out, err;
    reporter.SetOutputStream(&out);
    reporter.SetErrorStream(&err);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return {out.str(), err.str(), reporter.failed()};
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
// the failed case and the misspelt name through fails the run the same way.
TEST_F(RatioReporterTest, AComparisonWithoutAResultFailsTheRunAndNamesTheCaseFilteredOrNot)
{
    for (const char* filter : {"", "Ours"}) {
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
    benchmark::SetBenchmarkFilter("HCXml");

    const Report report = runCases({{"BM_HCXmlTree", "BM_ExpatOnly", "tree"}});

    EXPECT_FALSE(report.failed) << report.err;
    EXPECT_THAT(report.out, HasSubstr("tree: not compared, --benchmark_filter left out BM_ExpatOnly\n"));
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

// A filter that is no regular expression would run nothing and pass: it is
// refused as a bad option is, before any case runs.
TEST_F(RatioReporterTest, AFilterThatIsNoRegularExpressionIsRefusedBeforeAnyCaseRuns)
{
    bool ran = false;
    benchmark::RegisterBenchmark("BM_Ours", [&ran](benchmark::State& state) {
        for (auto _ : state) ran = true;
    })->Iterations(1);
    RatioReporter reporter("BM_Ours", "BM_Ours", "itself");
    std::ostringstream out, err;
    reporter.SetOutputStream(&out);
    reporter.SetErrorStream(&err);
    // The library keeps argv[0] for every later run's context line: it must
    // live as long as the test program, as a real program's argv does.
    static char program[] = "bench";
    std::string filter = "--benchmark_filter=BM_(Ours";
    char* argv[] = {program, filter.data(), nullptr};

    EXPECT_EQ(runBenchmarksWithRatio(2, argv, reporter), 2);
    EXPECT_FALSE(ran);
}
