#pragma once
// The console table of Google Benchmark, followed by one line per comparison
// of the library's case with the raw library doing the same work:
//     "<label> time = <ours / baseline>"
#include <benchmark/benchmark.h>

#include "BenchCommandLine.h"

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    // Benchmark names as registered ("BM_Ours", or "BM_Ours/64KB" for a capture).
    struct Comparison {
        std::string ours, baseline, label;
    };

    RatioReporter(std::string ours, std::string baseline, std::string label)
        : comparisons_{{std::move(ours), std::move(baseline), std::move(label)}}
    {
    }
    explicit RatioReporter(std::vector<Comparison> comparisons) : comparisons_(std::move(comparisons)) {}

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
        for (const Comparison& c : comparisons_) {
            auto ours = times_.find(c.ours);
            auto baseline = times_.find(c.baseline);
            if (ours != times_.end() && baseline != times_.end() && baseline->second > 0)
                std::printf("%s time = %.2f\n", c.label.c_str(), ours->second / baseline->second);
        }
    }

private:
    std::vector<Comparison> comparisons_;
    std::map<std::string, double> times_;
};

// Runs every registered benchmark through a RatioReporter.
inline int runBenchmarksWithRatio(int argc, char** argv, RatioReporter& reporter)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    benchmark::Initialize(&argc, argv);
    // What is left is a --benchmark_ option Google Benchmark does not know.
    if (argc > 1) {
        std::fprintf(stderr, "%s: unknown option: %s\n", argv[0], argv[1]);
        return 2;
    }
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
