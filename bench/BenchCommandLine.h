#pragma once
// This program's command line, checked against the options bench/options.txt
// gives it before any work (bench/CMakeLists.txt compiles the table in as
// kBenchOptionsTable and names the program in HC_BENCH_PROGRAM).
//
// Thread: main thread, before the program starts anything.
#include <optional>
#include <string>

#include "BenchOptions.h"
#include "BenchOptionsTable.h"

namespace bench {

inline const BenchOptions& programOptions()
{
    static const BenchOptions options(kBenchOptionsTable, HC_BENCH_PROGRAM);
    return options;
}

}  // namespace bench

// nullopt: run; otherwise the program's exit status.
inline std::optional<int> checkBenchCommandLine(int argc, char** argv)
{
    return bench::programOptions().check(argc, argv);
}

// The value of --NAME=N, or the default the table gives; nullopt when that
// is not a number.
inline std::optional<int> benchSize(int argc, char** argv, const std::string& name)
{
    return bench::programOptions().size(argc, argv, name);
}
