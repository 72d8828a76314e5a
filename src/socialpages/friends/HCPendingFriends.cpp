#include "socialpages/friends/HCPendingFriends.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
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

void HCPendingFriends::startedFollowing(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::postAddFriend(user);
    if (user && user->followsLocalUser()) lowerByOne();
}

void HCPendingFriends::stoppedFollowing(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    Halcyon::postRemoveFriend(user);
    if (user && user->followsLocalUser()) raiseByOne();
}
