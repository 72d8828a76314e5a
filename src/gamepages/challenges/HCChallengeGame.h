#pragma once
// The game's challenge delegate when it implements `method`, else nil: the
// pages ask before every call they make to the game.
//
// Thread: main thread.
#include "core/halcyon/Halcyon.h"
#include "core/publicclass/HCChallengeDelegate.h"

inline HCChallengeDelegate* challengeDelegateFor(HCChallengeDelegate::Method method)
{
    auto* delegate = Halcyon::getChallengeDelegate();
    return delegate && delegate->respondsTo(method) ? delegate : nullptr;
}
