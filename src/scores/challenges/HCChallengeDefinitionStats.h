#pragma once
// The local player's wins, losses and ties in one challenge type, and, when
// the server compared with another player, that player's wins and losses
// ("challenge_definition_stats" element; read only).
//
// Thread: filled on the provider's request thread, then used on one thread.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"

class HCChallengeDefinition;

class HCChallengeDefinitionStats final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "challenge_definition_stats"; }
    std::string getResourceDiscoveredNotification() const override
    {
        return "halcyon_challenge_definition_stats_discovered";
    }
    const HCResourceDataMap& getDataMap() const override;

    const std::shared_ptr<HCChallengeDefinition>& challengeDefinition() const { return challengeDefinition_; }
    int localUsersWins() const { return localUsersWins_; }
    int localUsersLosses() const { return localUsersLosses_; }
    int localUsersTies() const { return localUsersTies_; }
    int comparedUsersWins() const { return comparedUsersWins_; }
    int comparedUsersLosses() const { return comparedUsersLosses_; }
    // Set once a compared-user value with text was read.
    bool comparison() const { return comparison_; }

    void setChallengeDefinition(std::shared_ptr<HCChallengeDefinition> definition);
    void setLocalUsersWins(const std::string& text);
    void setLocalUsersLosses(const std::string& text);
    void setLocalUsersTies(const std::string& text);
    // Empty or absent text: 0, and the comparison flag is left as it was.
    void setComparedUsersWins(const Text& text);
    void setComparedUsersLosses(const Text& text);

private:
    int comparedValue(const Text& text);

    std::shared_ptr<HCChallengeDefinition> challengeDefinition_;
    int localUsersWins_ = 0;
    int localUsersLosses_ = 0;
    int localUsersTies_ = 0;
    int comparedUsersWins_ = 0;
    int comparedUsersLosses_ = 0;
    bool comparison_ = false;
};
