#pragma once
// Fresh random identifiers.
//
// Thread: any thread.
#include <string>

namespace platform {

// A random (version 4) UUID as upper-case text, "8-4-4-4-12" hexadecimal digits.
std::string createUUIDString();

}  // namespace platform
