#pragma once
// --benchmark_filter and the cases it chooses, as Google Benchmark reads
// them, asked of the library itself rather than read again beside it. It
// compiles the filter with std::regex's extended syntax, which POSIX's
// regcomp does not read alike (glibc takes '\w', '\d', "a{,2}" and an
// unmatched ')', the library none of them), and matches it against each
// case's whole name, with what the case's registration adds to it
// ("BM_Store/iterations:3", ".../manual_time", ".../threads:2"). The library
// is asked by a run whose reporter declines it before any case starts
// (ReportContext returning false, which its header promises runs nothing):
// what that returns is how many cases the run would have run. Asking costs
// no compile of <regex>, which took over two seconds in each benchmark
// program that included it.
//
// Thread: main thread, between benchmark::Initialize and the run, not
// during one.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstring>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

namespace filter {

// The reporter of a run declined before any case starts.
class Declining final : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return false; }
    void ReportRuns(const std::vector<Run>&) override {}
};

}  // namespace filter

// How many registered cases a run with `spec` as --benchmark_filter runs.
// What the library says of the filter (it cannot compile it, it finds no
// case) or of the run (its --benchmark_out cannot be written, and it exits)
// goes to `said`.
inline std::size_t casesChosen(const std::string& spec, std::ostream& said)
{
    filter::Declining declining;
    std::ostringstream listed;  // --benchmark_list_tests lists the cases instead
    declining.SetOutputStream(&listed);
    declining.SetErrorStream(&said);
    return benchmark::RunSpecifiedBenchmarks(&declining, spec);
}

inline std::size_t casesChosen(const std::string& spec)
{
    std::ostringstream said;
    return casesChosen(spec, said);
}

// Whether the library compiles `spec`, told from one that finds no case by
// the opposite filter, the same expression with its leading '-' taken off
// or put on: the two choose every case between them, so only a filter that
// does not compile leaves both with none. With no case registered there is
// nothing to tell them apart by, nor anything to run.
inline bool filterCompiles(const std::string& spec)
{
    if (spec.empty() || spec == "all") return true;  // the library's words for every case
    std::string opposite = "-" + spec;
    if (spec.front() == '-') {
        // A leading '-' of the expression itself would be read as a negation again.
        opposite = spec.substr(1);
        if (!opposite.empty() && opposite.front() == '-') opposite.replace(0, 1, "[-]");
    }
    return casesChosen(spec) > 0 || casesChosen(opposite) > 0 || casesChosen("") == 0;
}

// Whether a case is registered as `name`, its function's name with its
// argument ("BM_Ours/100"), whatever its registration adds to its whole
// name: the library's suffixes for a least or warm-up time, a count of
// iterations or repetitions, the time measured and the threads.
inline bool caseRegistered(const std::string& name)
{
    // Each character the extended syntax gives a meaning taken as itself:
    // ']' and '}' already are, and std::regex refuses them escaped.
    std::string whole = "^";
    for (char c : name) {
        if (c != '\0' && std::strchr("^$\\.*+?()[{|", c)) whole += '\\';
        whole += c;
    }
    whole += "(/(min_time|min_warmup_time|iterations|repeats|threads):[0-9.]+|/process_time|/manual_time|/real_time)*$";
    return casesChosen(whole) > 0;
}

}  // namespace bench
