#pragma once
// The command line every benchmark program takes, checked before any work:
// --help, Google Benchmark's --benchmark_OPTION=VALUE options (scripts/bench
// hands the same ones to every program), and the program's own --NAME=N
// sizes. --help prints a usage line and the options with their defaults
// (exit 0); anything else is named in one line (exit 2).
//
// Thread: main thread, before the program starts anything.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

struct BenchSize {
    std::string name;  // given as --name=N
    std::string what;
    std::string fallback;
};

// nullopt: run; otherwise the program's exit status.
inline std::optional<int> checkBenchCommandLine(int argc, char** argv, const std::vector<BenchSize>& sizes = {})
{
    const std::string program = argc > 0 ? argv[0] : "bench";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::printf("usage: %s [--benchmark_OPTION=VALUE...]%s\n\n", program.c_str(),
                        sizes.empty() ? "" : " [--NAME=N...]");
            std::printf("  --benchmark_OPTION=VALUE  Google Benchmark's options, for example\n"
                        "                            --benchmark_filter=REGEX (default: every case)\n"
                        "                            and --benchmark_min_time=0.2s (default: its own)\n");
            for (const BenchSize& size : sizes) {
                const std::string option = "--" + size.name + "=N";
                std::printf("  %-24s  %s (default: %s)\n", option.c_str(), size.what.c_str(), size.fallback.c_str());
            }
            std::printf("  -h, --help                print this and exit\n");
            return 0;
        }
        if (arg.rfind("--benchmark_", 0) == 0 && arg.find('=') != std::string::npos) continue;
        bool known = false;
        for (const BenchSize& size : sizes) {
            const std::string prefix = "--" + size.name + "=";
            if (arg.rfind(prefix, 0) != 0) continue;
            const std::string value = arg.substr(prefix.size());
            known = !value.empty() && value.size() < 10 && value.find_first_not_of("0123456789") == std::string::npos;
        }
        if (!known) {
            std::fprintf(stderr, "%s: unknown option: %s\n", program.c_str(), arg.c_str());
            return 2;
        }
    }
    return std::nullopt;
}

// The value of --NAME=N, or `fallback` when it is not given; run after
// checkBenchCommandLine, which refused a value that is not a whole number.
inline int benchSize(int argc, char** argv, const std::string& name, int fallback)
{
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind(prefix, 0) == 0) return std::atoi(arg.c_str() + prefix.size());
    }
    return fallback;
}
