#pragma once
// The console table of Google Benchmark, followed by one line that compares
// the library's case with the raw library doing the same work:
//     "<label> time = <ours / baseline>"
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::string ours, std::string baseline, std::string label)
        : ours_(std::move(ours)), baseline_(std::move(baseline)), label_(std::move(label))
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto ours = times_.find(ours_);
        auto baseline = times_.find(baseline_);
        if (ours != times_.end() && baseline != times_.end() && baseline->second > 0)
            std::printf("%s time = %.2f\n", label_.c_str(), ours->second / baseline->second);
    }

private:
    std::string ours_, baseline_, label_;
    std::map<std::string, double> times_;
};

// Runs every registered benchmark through a RatioReporter.
inline int runBenchmarksWithRatio(int argc, char** argv, RatioReporter& reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
