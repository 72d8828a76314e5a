#pragma once
// The most heap a piece of code holds at once, beyond what was held when it
// started, counted through AddressSanitizer's allocation hooks (the tests'
// usual build). Without the sanitizer there is nothing to count with, and
// available() says so. Every thread's allocations count, so a bound asserted
// with it wants some slack.
//
// Thread: any thread, one measurement at a time.
#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__)
#define HC_TEST_HEAP_PEAK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HC_TEST_HEAP_PEAK 1
#endif
#endif

#ifdef HC_TEST_HEAP_PEAK
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                                         void (*freeHook)(const volatile void*));
extern "C" std::size_t __sanitizer_get_allocated_size(const volatile void* pointer);
#endif

namespace blobtest {

class HeapPeak {
public:
    static bool available()
    {
#ifdef HC_TEST_HEAP_PEAK
        // The sanitizer keeps the hooks for good: installed once, they count
        // only while a measurement runs.
        static const bool installed = __sanitizer_install_malloc_and_free_hooks(&onMalloc, &onFree) != 0;
        return installed;
#else
        return false;
#endif
    }

    // The peak, in bytes, while `work` ran; 0 when nothing can be counted.
    template <class Work>
    static std::size_t during(Work&& work)
    {
        if (!available()) {
            work();
            return 0;
        }
        held = 0;
        peak = 0;
        counting = true;
        work();
        counting = false;
        return static_cast<std::size_t>(peak.load());
    }

private:
    static inline std::atomic<bool> counting{false};
    // Signed: blocks that were held before the measurement may be freed in it.
    static inline std::atomic<int64_t> held{0};
    static inline std::atomic<int64_t> peak{0};

#ifdef HC_TEST_HEAP_PEAK
    static void onMalloc(const volatile void*, std::size_t size)
    {
        if (!counting) return;
        const int64_t now = held += static_cast<int64_t>(size);
        int64_t highest = peak;
        while (now > highest && !peak.compare_exchange_weak(highest, now)) {
        }
    }
    static void onFree(const volatile void* pointer)
    {
        if (!counting || pointer == nullptr) return;
        held -= static_cast<int64_t>(__sanitizer_get_allocated_size(pointer));
    }
#endif
};

}  // namespace blobtest
