#include "HeapPeak.h"

#include <atomic>
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define HC_HEAP_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define HC_HEAP_HOOKS 1
#endif
#endif

#ifdef HC_HEAP_HOOKS
// The sanitizers' allocator interface (gcc installs no header for it).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, std::size_t),
                                              void (*free_hook)(const volatile void*));
int __sanitizer_get_ownership(const volatile void* p);
std::size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#endif

namespace heappeak {

namespace {

std::atomic<long long> held{0};
std::atomic<long long> peak{0};
std::atomic<long long> start{0};

#ifdef HC_HEAP_HOOKS
void onMalloc(const volatile void*, std::size_t size)
{
    const long long now = held += static_cast<long long>(size);
    long long highest = peak.load(std::memory_order_relaxed);
    while (now > highest && !peak.compare_exchange_weak(highest, now, std::memory_order_relaxed)) {
    }
}

void onFree(const volatile void* block)
{
    if (block && __sanitizer_get_ownership(block))
        held -= static_cast<long long>(__sanitizer_get_allocated_size(block));
}

// At start-up, so that blocks freed later were counted when they were made.
const bool installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
#else
const bool installed = false;
#endif

}  // namespace

bool available()
{
    return installed;
}

void restart()
{
    start = held.load();
    peak = start.load();
}

std::size_t growthSinceRestart()
{
    const long long growth = peak.load() - start.load();
    return growth > 0 ? static_cast<std::size_t>(growth) : 0;
}

}  // namespace heappeak
