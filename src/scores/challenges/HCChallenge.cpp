#include "scores/challenges/HCChallenge.h"

#include "core/publicclass/HCClassDelegate.h"
#include "core/resources/HCResourceClass.h"
#include "core/users/HCUser.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeObjectDelegates.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/challenges/HCChallengeToUser.h"

namespace {

HCClassDelegate<HCChallengeObjectDelegate> sChallengeDelegate(HCChallenge::kModule);

}  // namespace

std::shared_ptr<HCChallenge> HCChallenge::initWithDefinition(std::shared_ptr<HCChallengeDefinition> definition,
                                                             const Text& challengeDescription, DataPtr challengeData)
{
    auto challenge = std::make_shared<HCChallenge>();
    challenge->challengeDefinition_ = std::move(definition);
    challenge->challengeDescription_ = challengeDescription;
    challenge->challengeData_ = std::move(challengeData);
    return challenge;
}

void HCChallenge::setDelegate(HCChallengeObjectDelegate* delegate)
{
    sChallengeDelegate.set(delegate);
}

HCChallengeObjectDelegate* HCChallenge::delegate()
{
    return sChallengeDelegate.get();
}

HCRequestHandlePtr HCChallenge::sendChallenge(const std::vector<std::string>& userIds,
                                              const std::shared_ptr<HCChallengeToUser>& inResponseToChallenge)
{
    auto self = platform::self(this);
    auto callbacks = sChallengeDelegate.callbacks(
        self,
        [self](auto started, const platform::ObjectPtr&) {
            sChallengeDelegate.notify(started, [&](HCChallengeObjectDelegate& d) { d.didSendChallenge(self); });
        },
        [self](auto started) {
            sChallengeDelegate.notify(started, [&](HCChallengeObjectDelegate& d) { d.didFailSendChallenge(self); });
        });
    const Text definitionId = challengeDefinition_ ? challengeDefinition_->resourceId() : std::nullopt;
    const Text answered = inResponseToChallenge ? inResponseToChallenge->resourceId() : std::nullopt;
    return sChallengeDelegate.track(HCChallengeService::sendChallenge(definitionId, challengeDescription_, challengeData_,
                                                             userMessage_, hiddenText_, userIds, answered,
                                                             callbacks.success, callbacks.failure));
}

void HCChallenge::displayAndSendChallenge()
{
    HCChallengeService::displaySendChallengeModal(
        challengeDefinition_ ? challengeDefinition_->resourceId() : std::nullopt, challengeDescription_, challengeData_);
}

HCRequestHandlePtr HCChallenge::downloadChallengeData()
{
    auto self = platform::self(this);
    auto callbacks = sChallengeDelegate.callbacks(
        self,
        [self](auto started, const platform::ObjectPtr& bytes) {
            auto data = platform::as<platform::Data>(bytes);
            sChallengeDelegate.notify(started, [&](HCChallengeObjectDelegate& d) {
                if (data) {
                    d.didDownloadChallengeData(data, self);
                } else {
                    d.didFailDownloadChallengeDataHCChallenge(self);
                }
            });
        },
        [self](auto started) {
            sChallengeDelegate.notify(started,
                             [&](HCChallengeObjectDelegate& d) { d.didFailDownloadChallengeDataHCChallenge(self); });
        });
    return sChallengeDelegate.track(
        HCChallengeService::downloadChallengeData(challengeDataUrl_, callbacks.success, callbacks.failure));
}

bool HCChallenge::usesChallengeData() const
{
    return challengeDataUrl_ && !challengeDataUrl_->empty() && *challengeDataUrl_ != kEmptyDataUrl;
}

std::shared_ptr<HCService> HCChallenge::getService() const
{
    return HCChallengeService::sharedInstance();
}

const HCResourceDataMap& HCChallenge::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("description", &HCChallenge::setChallengeDescription, &HCChallenge::challengeDescription);
        m->addField("hidden_text", &HCChallenge::setHiddenText, &HCChallenge::hiddenText);
        m->addField("user_message", &HCChallenge::setUserMessage, &HCChallenge::userMessage);
        m->addField("user_data_url", &HCChallenge::setDataUrl, &HCChallenge::challengeDataUrl);
        m->addNestedResourceField("challenge_definition", &HCChallenge::setChallengeDefinition,
                                  &HCChallenge::getChallengeDefinition);
        m->addNestedResourceField("user", &HCChallenge::setChallenger, &HCChallenge::getChallenger);
        return m;
    }();
    return *map;
}

void HCChallenge::setChallengeDefinition(std::shared_ptr<HCChallengeDefinition> definition)
{
    challengeDefinition_ = std::move(definition);
}

void HCChallenge::setChallenger(std::shared_ptr<HCUser> user)
{
    challenger_ = std::move(user);
}
