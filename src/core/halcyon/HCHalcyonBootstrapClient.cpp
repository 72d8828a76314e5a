#include "core/halcyon/HCHalcyonBootstrapClient.h"

#include "core/bootstrap/HCBootstrap.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "transport/presence/HCPresenceService.h"

void HCHalcyonBootstrapClient::getUserStatsParams(HCHttpNestedQueryStringWriter& writer)
{
    auto sent = Halcyon::getUserStatsParams(writer);
    std::lock_guard lock(mutex_);
    sent_ = std::move(sent);
}

void HCHalcyonBootstrapClient::postBootstrapBegan(const Text& userId)
{
    Halcyon::postBootstrapBegan(userId);
}

void HCHalcyonBootstrapClient::postBootstrapSucceeded()
{
    Halcyon::postBootstrapSucceeded();
}

void HCHalcyonBootstrapClient::postBootstrapFailed()
{
    Halcyon::postBootstrapFailed();
}

bool HCHalcyonBootstrapClient::takeForceUserCheckOnBootstrap()
{
    if (!Halcyon::mForceUserCheckOnBootstrap()) return false;
    Halcyon::setMForceUserCheckOnBootstrap(false);
    return true;
}

std::optional<bool> HCHalcyonBootstrapClient::userAttemptingToLogin(const std::shared_ptr<HCUser>& user)
{
    auto* delegate = Halcyon::getDelegate();
    if (!delegate) return std::nullopt;
    bool allowed = true;
    if (!platform::callOptional([&] { allowed = delegate->userAttemptingToLogin(user); })) return std::nullopt;
    return allowed;
}

void HCHalcyonBootstrapClient::abortBootstrap()
{
    Halcyon::abortBootstrap();
}

void HCHalcyonBootstrapClient::storePollingFrequencies(uint32_t defaultSeconds, uint32_t chatSeconds)
{
    Halcyon::storePollingFrequencyDefault(defaultSeconds);
    Halcyon::storePollingFrequencyInChat(chatSeconds);
}

void HCHalcyonBootstrapClient::applyUserOptions(const HCBootstrap& bootstrap, int distanceUnit)
{
    Halcyon::setLoggedInUserHasSetName(bootstrap.loggedInUserHasSetName());
    Halcyon::setLoggedInUserHadFriendsOnBootup(bootstrap.loggedInUserHadFriendsOnBootup());
    Halcyon::setLoggedInUserHasHttpBasicCredential(bootstrap.loggedInUserHasHttpBasicCredential());
    Halcyon::setLoggedInUserHasFbconnectCredential(bootstrap.loggedInUserHasFbconnectCredential());
    Halcyon::setLoggedInUserHasTwitterCredential(bootstrap.loggedInUserHasTwitterCredential());
    Halcyon::setLoggedInUserHasNonDeviceCredential(bootstrap.loggedInUserHasNonDeviceCredential());
    Halcyon::setLoggedInUserIsNewUser(bootstrap.loggedInUserIsNewUser());
    Halcyon::setClientApplicationId(bootstrap.clientApplicationId());
    Halcyon::setClientApplicationIconUrl(bootstrap.clientApplicationIconUrl());
    Halcyon::setUnviewedChallengesCount(bootstrap.unviewedChallengesCount());
    Halcyon::setPendingFriendsCount(bootstrap.pendingFriendsCount());
    Halcyon::setLocalGameProfileInfo(bootstrap.gameProfilePageInfo());
    Halcyon::setLocalUser(bootstrap.user());
    Halcyon::setSuggestionsForumId(bootstrap.suggestionsForumId());
    Halcyon::setInitialDashboardScreen(bootstrap.initialDashboardScreen());
    Halcyon::setInitialDashboardModalContentURL(bootstrap.initialDashboardModalContentURL());
    Halcyon::setLoggedInUserSharesOnlineStatus(bootstrap.initializePresenceService());
    Halcyon::setUnreadIMCount(bootstrap.imsUnreadCount(), bootstrap.subscribedThreadsUnreadCount(),
                              bootstrap.invitesUnreadCount());
    Halcyon::setUserDistanceUnit(distanceUnit);
}

void HCHalcyonBootstrapClient::applyPresence(const Text& queue, bool pipeHttp, bool connect)
{
    auto presence = HCPresenceService::sharedInstance();
    if (!presence) return;
    presence->setPresenceQueue(queue);
    presence->setPipeHttpOverPresence(pipeHttp);
    // A service that turned the channel off for this player closes it.
    if (connect)
        presence->connect();
    else
        presence->disconnect();
}

void HCHalcyonBootstrapClient::notifyAddOnsUserLoggedIn()
{
    Halcyon::notifyAddOnsUserLoggedIn();
}

void HCHalcyonBootstrapClient::resetUserStatsAndCountOnlineSession()
{
    HCUserStatsSnapshot sent;
    {
        std::lock_guard lock(mutex_);
        sent = sent_;
    }
    Halcyon::resetUserStats(sent);
    Halcyon::incrementNumberOfOnlineGameSessions();
}
