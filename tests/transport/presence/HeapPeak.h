#pragma once
// The most the process held on its heap since a given moment, read through
// the sanitizers' allocation hooks: the test builds run under
// AddressSanitizer or ThreadSanitizer, whose allocators know each block's
// size (and where a plain allocator would count pages it never touched).
// Without a sanitizer nothing is counted and available() says so.
//
// Thread: any thread; the counts cover every thread of the process.
#include <cstddef>

namespace heappeak {

bool available();
// Starts a new peak from what is held now.
void restart();
// The most held since restart(), above what was held then.
std::size_t growthSinceRestart();

}  // namespace heappeak
