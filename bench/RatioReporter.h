#pragma once
// The console table of Google Benchmark, followed by one line per comparison
// of the library's case with the raw library doing the same work:
//     "<label> time = <ours / baseline>"
// A comparison whose case --benchmark_filter left out is said so on a line
// of its own. One whose case ran and failed (SkipWithError), or whose name
// no case has (misspelt), is an error, named on the error stream, however
// the cases were filtered. Which cases there are is asked of the library
// before the run (BenchmarkFilter.h), so a case that did not run was left
// out by the filter as the library matched it, against the case's whole
// name ("BM_Store/iterations:3").
//
// Thread: main thread (Google Benchmark reports on the thread that runs it).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "BenchmarkFilter.h"

class RatioReporter final : public benchmark::ConsoleReporter {
public:
    // Cases by name, argument included: "BM_Ours", "BM_Ours/64KB" for a
    // capture, "BM_Ours/100" for ->Arg(100).
    struct Comparison {
        std::string ours, baseline, label;
    };

    RatioReporter(std::string ours, std::string baseline, std::string label)
        : comparisons_{{std::move(ours), std::move(baseline), std::move(label)}}
    {
    }
    explicit RatioReporter(std::vector<Comparison> comparisons) : comparisons_(std::move(comparisons)) {}

    // Runs the cases --benchmark_filter chooses, once the library said which
    // of the comparisons' cases it has.
    void runChosenCases()
    {
        for (const Comparison& c : comparisons_)
            for (const std::string* name : {&c.ours, &c.baseline})
                if (bench::caseRegistered(*name)) registered_.insert(*name);
        benchmark::RunSpecifiedBenchmarks(this);
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::string name = caseName(run);
            if (run.error_occurred) {
                errors_.emplace(name, run.error_message);
                continue;
            }
            // Seconds, whatever unit each case prints in; of repetitions, their median.
            const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians_[name] = seconds;
            else if (run.run_type == Run::RT_Iteration)
                times_[name] = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const Comparison& c : comparisons_) {
            const double* ours = resultOf(c.label, c.ours);
            const double* baseline = resultOf(c.label, c.baseline);
            if (ours && baseline) GetOutputStream() << c.label << " time = " << format(*ours / *baseline) << "\n";
        }
    }

    // Whether a comparison found no result.
    bool failed() const { return failed_; }

private:
    static std::string caseName(const Run& run)
    {
        return run.run_name.args.empty() ? run.run_name.function_name
                                         : run.run_name.function_name + "/" + run.run_name.args;
    }

    // The case's time in seconds, or null once the reason there is none was
    // said: an error unless the filter left the case out.
    const double* resultOf(const std::string& label, const std::string& name)
    {
        const auto error = errors_.find(name);
        const double* seconds = timeOf(name);
        if (error != errors_.end())
            fail(label, name, "it failed: " + error->second);
        else if (seconds && *seconds > 0)
            return seconds;
        else if (seconds)
            fail(label, name, "it took no time");
        else if (!registered_.count(name))
            fail(label, name, "no case has that name");
        else
            GetOutputStream() << label << ": not compared, --benchmark_filter left out " << name << "\n";
        return nullptr;
    }

    void fail(const std::string& label, const std::string& name, const std::string& why)
    {
        GetErrorStream() << label << ": no result for " << name << ": " << why << "\n";
        failed_ = true;
    }

    const double* timeOf(const std::string& name) const
    {
        for (const auto* times : {&medians_, &times_}) {
            const auto found = times->find(name);
            if (found != times->end()) return &found->second;
        }
        return nullptr;
    }

    static std::string format(double ratio)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", ratio);
        return text;
    }

    std::vector<Comparison> comparisons_;
    std::map<std::string, double> times_;
    std::map<std::string, double> medians_;
    std::map<std::string, std::string> errors_;  // by case, the first failure's message
    std::set<std::string> registered_;            // the comparisons' cases the library has
    bool failed_ = false;
};

// Runs every registered benchmark through a RatioReporter, after
// checkBenchCommandLine accepted the command line: 1 when a comparison
// found no result, 2 for a filter the library cannot compile. The library
// keeps argv[0] for as long as the program runs.
inline int runBenchmarksWithRatio(int argc, char** argv, RatioReporter& reporter)
{
    benchmark::Initialize(&argc, argv);
    std::ostream& errors = reporter.GetErrorStream();
    // What is left is an option the options table lets through but Google
    // Benchmark does not know: the table is wrong.
    if (argc > 1) {
        errors << argv[0] << ": unknown option: " << argv[1] << "\n";
        return 2;
    }
    // The run asked first, declined before any case: what the library has
    // to say of the filter, or of --benchmark_out, it says here, once.
    const std::string filter = benchmark::GetBenchmarkFilter();
    int status = 0;
    if (bench::casesChosen(filter, errors) > 0) {
        reporter.runChosenCases();
        status = reporter.failed() ? 1 : 0;
    } else if (!bench::filterCompiles(filter)) {
        errors << argv[0] << ": --benchmark_filter is not a regular expression Google Benchmark takes: " << filter
               << "\n";
        status = 2;
    }
    benchmark::Shutdown();
    return status;
}
