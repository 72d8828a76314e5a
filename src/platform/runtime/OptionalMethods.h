#pragma once
// Optional methods of delegate interfaces.
//
// A delegate interface gives each optional method a default body that calls
// notImplemented(). The caller wraps the call in callOptional(), which answers
// whether the delegate really implemented it, so "send it only when the
// delegate responds, otherwise do X" keeps its meaning:
//
//     if (!platform::callOptional([&] { delegate->didGetServerTime(stamp); }))
//         fallBack();
//
// Thread: the flag is thread-local, so delegates may be asked on any thread,
// and nested optional calls inside an implementation do not disturb the
// outer answer.
#include <utility>

namespace platform {

namespace detail {
inline thread_local bool optionalMethodMissing = false;
}

class OptionalMethods {
protected:
    static void notImplemented() { detail::optionalMethodMissing = true; }
};

template <class F>
bool callOptional(F&& call)
{
    bool saved = detail::optionalMethodMissing;
    detail::optionalMethodMissing = false;
    std::forward<F>(call)();
    bool implemented = !detail::optionalMethodMissing;
    detail::optionalMethodMissing = saved;
    return implemented;
}

// For optional methods that answer a value: `fallback` when not implemented.
template <class R, class F>
R callOptionalOr(R fallback, F&& call)
{
    bool saved = detail::optionalMethodMissing;
    detail::optionalMethodMissing = false;
    R result = std::forward<F>(call)();
    bool implemented = !detail::optionalMethodMissing;
    detail::optionalMethodMissing = saved;
    return implemented ? result : fallback;
}

}  // namespace platform
