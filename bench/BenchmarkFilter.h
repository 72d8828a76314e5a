#pragma once
// --benchmark_filter as Google Benchmark reads it: empty or "all" runs
// every case; otherwise an extended regular expression searched for in
// the case's name, and a leading '-' runs the cases it does not find.
//
// Thread: any; needs outside synchronisation.
#include <optional>
#include <regex>
#include <string>
#include <string_view>

class BenchmarkFilter {
public:
    explicit BenchmarkFilter(std::string spec)
    {
        if (spec.empty() || spec == "all") spec = ".";
        if (spec.front() == '-') {
            negative_ = true;
            spec.erase(0, 1);
        }
        try {
            pattern_.emplace(spec, std::regex::extended);
        } catch (const std::regex_error&) {
        }
    }

    // False when it is no regular expression (Google Benchmark then runs nothing).
    bool valid() const { return pattern_.has_value(); }

    // Whether the case named `name` runs; an invalid filter leaves none out.
    bool runs(std::string_view name) const
    {
        if (!pattern_) return true;
        return std::regex_search(name.begin(), name.end(), *pattern_) != negative_;
    }

private:
    std::optional<std::regex> pattern_;
    bool negative_ = false;
};
