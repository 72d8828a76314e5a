// Included first in every C++ file of an optimised (Release) build with
// GCC 12: <string> with -Wrestrict off, so that the warning stays silent
// where GCC 12 reports it inside the standard library's string code, a known
// false positive (GCC bug 105329, gone in GCC 13) fired at -O3 wherever a
// string is built from or assigned a literal ("(" + text, path = "/").
// Only reports located in that code are silenced: -Wrestrict on the
// project's own code still fires.
#pragma once
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#include <string>
#pragma GCC diagnostic pop
