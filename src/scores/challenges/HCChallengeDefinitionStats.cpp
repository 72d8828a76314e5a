#include "scores/challenges/HCChallengeDefinitionStats.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeDefinitionService.h"

std::shared_ptr<HCService> HCChallengeDefinitionStats::getService() const
{
    return HCChallengeDefinitionService::sharedInstance();
}

const HCResourceDataMap& HCChallengeDefinitionStats::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addNestedResourceField("challenge_definition", &HCChallengeDefinitionStats::setChallengeDefinition);
        m->addField("local_users_wins", &HCChallengeDefinitionStats::setLocalUsersWins);
        m->addField("local_users_losses", &HCChallengeDefinitionStats::setLocalUsersLosses);
        m->addField("local_users_ties", &HCChallengeDefinitionStats::setLocalUsersTies);
        m->addField("compared_users_wins", &HCChallengeDefinitionStats::setComparedUsersWins);
        m->addField("compared_users_losses", &HCChallengeDefinitionStats::setComparedUsersLosses);
        return m;
    }();
    return *map;
}

void HCChallengeDefinitionStats::setChallengeDefinition(std::shared_ptr<HCChallengeDefinition> definition)
{
    challengeDefinition_ = std::move(definition);
}

void HCChallengeDefinitionStats::setLocalUsersWins(const std::string& text)
{
    localUsersWins_ = platform::intValue(text);
}

void HCChallengeDefinitionStats::setLocalUsersLosses(const std::string& text)
{
    localUsersLosses_ = platform::intValue(text);
}

void HCChallengeDefinitionStats::setLocalUsersTies(const std::string& text)
{
    localUsersTies_ = platform::intValue(text);
}

int HCChallengeDefinitionStats::comparedValue(const Text& text)
{
    if (!text || text->empty()) return 0;
    comparison_ = true;
    return platform::intValue(*text);
}

void HCChallengeDefinitionStats::setComparedUsersWins(const Text& text)
{
    comparedUsersWins_ = comparedValue(text);
}

void HCChallengeDefinitionStats::setComparedUsersLosses(const Text& text)
{
    comparedUsersLosses_ = comparedValue(text);
}
