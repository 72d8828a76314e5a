#pragma once
// The one object the bootstrap exchange answers with: the OAuth access
// token, the local user, the game's profile, the badge counters, the poll
// intervals and the presence settings. Missing elements leave their fields
// at 0, NO or nil, and those values are applied as such.
//
// Thread: read on the provider's request thread and applied there; then
// handed to the main thread whole.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCUser;
class HCGameProfilePageInfo;

class HCBootstrap final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::string getResourceName() const override { return "bootstrap"; }
    std::string getResourceDiscoveredNotification() const override { return "bootstrap_discovered"; }
    // No getters: the resource writer writes only the id of a bootstrap.
    const HCResourceDataMap& getDataMap() const override;

    uint32_t minimumHalcyonVersionSupported() const { return minimumHalcyonVersionSupported_; }
    uint32_t pollingFrequencyInChat() const { return pollingFrequencyInChat_; }
    uint32_t pollingFrequencyDefault() const { return pollingFrequencyDefault_; }
    const std::shared_ptr<HCGameProfilePageInfo>& gameProfilePageInfo() const { return gameProfilePageInfo_; }
    const std::shared_ptr<HCUser>& user() const { return user_; }
    bool loggedInUserHasSetName() const { return loggedInUserHasSetName_; }
    bool loggedInUserHadFriendsOnBootup() const { return loggedInUserHadFriendsOnBootup_; }
    bool loggedInUserIsNewUser() const { return loggedInUserIsNewUser_; }
    const Text& accessToken() const { return accessToken_; }
    const Text& accessTokenSecret() const { return accessTokenSecret_; }
    bool loggedInUserHasHttpBasicCredential() const { return loggedInUserHasHttpBasicCredential_; }
    bool loggedInUserHasFbconnectCredential() const { return loggedInUserHasFbconnectCredential_; }
    bool loggedInUserHasTwitterCredential() const { return loggedInUserHasTwitterCredential_; }
    // Filled by no element: the bootstrap service computes it.
    bool loggedInUserHasNonDeviceCredential() const { return loggedInUserHasNonDeviceCredential_; }
    void setLoggedInUserHasNonDeviceCredential(bool value) { loggedInUserHasNonDeviceCredential_ = value; }
    const Text& clientApplicationId() const { return clientApplicationId_; }
    const Text& clientApplicationIconUrl() const { return clientApplicationIconUrl_; }
    uint32_t unviewedChallengesCount() const { return unviewedChallengesCount_; }
    uint32_t pendingFriendsCount() const { return pendingFriendsCount_; }
    uint32_t imsUnreadCount() const { return imsUnreadCount_; }
    uint32_t subscribedThreadsUnreadCount() const { return subscribedThreadsUnreadCount_; }
    uint32_t invitesUnreadCount() const { return invitesUnreadCount_; }
    uint32_t unfulfilledInvitesCount() const { return unfulfilledInvitesCount_; }
    const Text& suggestionsForumId() const { return suggestionsForumId_; }
    const Text& initialDashboardScreen() const { return initialDashboardScreen_; }
    const Text& initialDashboardModalContentURL() const { return initialDashboardModalContentURL_; }
    bool initializePresenceService() const { return initializePresenceService_; }
    bool pipeHttpOverPresenceService() const { return pipeHttpOverPresenceService_; }
    const Text& presenceQueue() const { return presenceQueue_; }
    bool loggedInUserHasShareLocationEnabled() const { return loggedInUserHasShareLocationEnabled_; }

private:
    uint32_t minimumHalcyonVersionSupported_ = 0;
    uint32_t pollingFrequencyInChat_ = 0;
    uint32_t pollingFrequencyDefault_ = 0;
    std::shared_ptr<HCGameProfilePageInfo> gameProfilePageInfo_;
    std::shared_ptr<HCUser> user_;
    bool loggedInUserHasSetName_ = false;
    bool loggedInUserHadFriendsOnBootup_ = false;
    bool loggedInUserIsNewUser_ = false;
    Text accessToken_;
    Text accessTokenSecret_;
    bool loggedInUserHasHttpBasicCredential_ = false;
    bool loggedInUserHasFbconnectCredential_ = false;
    bool loggedInUserHasTwitterCredential_ = false;
    bool loggedInUserHasNonDeviceCredential_ = false;
    Text clientApplicationId_;
    Text clientApplicationIconUrl_;
    uint32_t unviewedChallengesCount_ = 0;
    uint32_t pendingFriendsCount_ = 0;
    uint32_t imsUnreadCount_ = 0;
    uint32_t subscribedThreadsUnreadCount_ = 0;
    uint32_t invitesUnreadCount_ = 0;
    uint32_t unfulfilledInvitesCount_ = 0;
    Text suggestionsForumId_;
    Text initialDashboardScreen_;
    Text initialDashboardModalContentURL_;
    bool initializePresenceService_ = false;
    bool pipeHttpOverPresenceService_ = false;
    Text presenceQueue_;
    bool loggedInUserHasShareLocationEnabled_ = false;
};
