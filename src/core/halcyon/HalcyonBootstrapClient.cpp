#include "core/halcyon/HalcyonBootstrapClient.h"

#include "core/bootstrap/HCBootstrap.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"

void HalcyonBootstrapClient::getUserStatsParams(HCHttpNestedQueryStringWriter& writer)
{
    HC_CHECK_MAIN_THREAD();
    auto sent = Halcyon::getUserStatsParams(writer);
    std::lock_guard lock(mutex_);
    sent_ = std::move(sent);
}

void HalcyonBootstrapClient::postBootstrapBegan(const Text& userId)
{
    Halcyon::postBootstrapBegan(userId);
}

void HalcyonBootstrapClient::postBootstrapSucceeded()
{
    Halcyon::postBootstrapSucceeded();
}

void HalcyonBootstrapClient::postBootstrapFailed()
{
    Halcyon::postBootstrapFailed();
}

bool HalcyonBootstrapClient::takeForceUserCheckOnBootstrap()
{
    HC_CHECK_MAIN_THREAD();
    const bool force = Halcyon::mForceUserCheckOnBootstrap();
    Halcyon::setMForceUserCheckOnBootstrap(false);
    return force;
}

std::optional<bool> HalcyonBootstrapClient::userAttemptingToLogin(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    HalcyonDelegate* delegate = Halcyon::getDelegate();
    if (!delegate) {
        return std::nullopt;
    }
    bool allowed = true;
    if (!platform::callOptional([&] { allowed = delegate->userAttemptingToLogin(user); })) {
        return std::nullopt;
    }
    return allowed;
}

void HalcyonBootstrapClient::abortBootstrap()
{
    Halcyon::abortBootstrap();
}

void HalcyonBootstrapClient::storePollingFrequencies(uint32_t defaultSeconds, uint32_t chatSeconds)
{
    Halcyon::storePollingFrequencyDefault(defaultSeconds);
    Halcyon::storePollingFrequencyInChat(chatSeconds);
}

void HalcyonBootstrapClient::applyUserOptions(const HCBootstrap& b, int distanceUnit)
{
    Halcyon::setLoggedInUserHasSetName(b.loggedInUserHasSetName());
    Halcyon::setLoggedInUserHadFriendsOnBootup(b.loggedInUserHadFriendsOnBootup());
    Halcyon::setLoggedInUserHasHttpBasicCredential(b.loggedInUserHasHttpBasicCredential());
    Halcyon::setLoggedInUserHasFbconnectCredential(b.loggedInUserHasFbconnectCredential());
    Halcyon::setLoggedInUserHasTwitterCredential(b.loggedInUserHasTwitterCredential());
    Halcyon::setLoggedInUserHasNonDeviceCredential(b.loggedInUserHasNonDeviceCredential());
    Halcyon::setLoggedInUserIsNewUser(b.loggedInUserIsNewUser());
    Halcyon::setClientApplicationId(b.clientApplicationId());
    Halcyon::setClientApplicationIconUrl(b.clientApplicationIconUrl());
    Halcyon::setUnviewedChallengesCount(b.unviewedChallengesCount());
    Halcyon::setPendingFriendsCount(b.pendingFriendsCount());
    if (b.gameProfilePageInfo()) {
        Halcyon::setLocalGameProfileInfo(b.gameProfilePageInfo());
    }
    Halcyon::setLocalUser(b.user());
    Halcyon::setSuggestionsForumId(b.suggestionsForumId());
    Halcyon::setInitialDashboardScreen(b.initialDashboardScreen());
    Halcyon::setInitialDashboardModalContentURL(b.initialDashboardModalContentURL());
    Halcyon::setLoggedInUserSharesOnlineStatus(b.initializePresenceService());
    Halcyon::setUnreadIMCount(b.imsUnreadCount(), b.subscribedThreadsUnreadCount(), b.invitesUnreadCount());
    Halcyon::setUserDistanceUnit(distanceUnit);
}

void HalcyonBootstrapClient::notifyAddOnsUserLoggedIn()
{
    Halcyon::notifyAddOnsUserLoggedIn();
}

void HalcyonBootstrapClient::resetUserStatsAndCountOnlineSession()
{
    HCUserStatsSnapshot sent;
    {
        std::lock_guard lock(mutex_);
        sent = std::exchange(sent_, HCUserStatsSnapshot());
    }
    Halcyon::resetUserStats(sent);
    Halcyon::incrementNumberOfOnlineGameSessions();
}
