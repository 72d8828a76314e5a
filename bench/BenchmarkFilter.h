#pragma once
// --benchmark_filter as Google Benchmark reads it: empty or "all" runs
// every case; otherwise an extended regular expression searched for in
// the case's name, and a leading '-' runs the cases it does not find.
// The expression is POSIX's own (regex.h): the same extended syntax, at a
// fraction of <regex>'s cost to compile into every benchmark program.
//
// Thread: any; needs outside synchronisation.
#include <regex.h>

#include <memory>
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
        auto compiled = std::make_unique<regex_t>();
        if (regcomp(compiled.get(), spec.c_str(), REG_EXTENDED | REG_NOSUB) == 0) {
            pattern_ = std::shared_ptr<regex_t>(compiled.release(), [](regex_t* pattern) {
                regfree(pattern);
                delete pattern;
            });
        }
    }

    // False when it is no regular expression (Google Benchmark then runs nothing).
    bool valid() const { return pattern_ != nullptr; }

    // Whether the case named `name` runs; an invalid filter leaves none out.
    bool runs(std::string_view name) const
    {
        if (!pattern_) return true;
        const std::string text(name);
        return (regexec(pattern_.get(), text.c_str(), 0, nullptr, 0) == 0) != negative_;
    }

private:
    std::shared_ptr<regex_t> pattern_;
    bool negative_ = false;
};
