#include "socialpages/friends/HCPendingFriends.h"

#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"

void HCPendingFriends::lowerByOne()
{
    HC_CHECK_MAIN_THREAD();
    const long count = Halcyon::pendingFriendsCount();
    Halcyon::setPendingFriendsCount(count > 0 ? count - 1 : 0);
}

void HCPendingFriends::raiseByOne()
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::setPendingFriendsCount(Halcyon::pendingFriendsCount() + 1);
}
