#pragma once
// Helpers shared by the fuzz programs: a finding is reported by aborting, so
// libFuzzer saves the input that caused it.
//
// Thread: the fuzz programs are single-threaded.
#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void finding(const char* what)
{
    std::fprintf(stderr, "fuzz finding: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char* what)
{
    if (!condition) finding(what);
}

}  // namespace fuzz
