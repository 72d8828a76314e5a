#include "scores/challenges/HCChallengeToUser.h"

#include "core/publicclass/HCClassDelegate.h"
#include "core/users/HCUser.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeObjectDelegates.h"
#include "scores/challenges/HCChallengeService.h"

namespace {

HCClassDelegate<HCChallengeToUserDelegate> sChallengeToUserDelegate(HCChallengeToUser::kModule);

}  // namespace

void HCChallengeToUser::setDelegate(HCChallengeToUserDelegate* delegate)
{
    sChallengeToUserDelegate.set(delegate);
}

HCChallengeToUserDelegate* HCChallengeToUser::delegate()
{
    return sChallengeToUserDelegate.get();
}

HCChallengeToUser::Text HCChallengeToUser::getChallengeResultIconName(int result)
{
    switch (result) {
    case kWin: return "HCChallengeIconWon.png";
    case kLose: return "HCChallengeIconLost.png";
    case kTie: return "HCChallengeIconTied.png";
    default: return std::nullopt;
    }
}

std::string HCChallengeToUser::resultAsString(int result)
{
    switch (result) {
    case kWin: return "win";
    case kLose: return "lose";
    case kTie: return "tie";
    default: return "";
    }
}

HCRequestHandlePtr HCChallengeToUser::completeWithResult(int result)
{
    if (result == kNoResult) return nullptr;
    auto self = platform::self(this);
    const int before = result_;
    auto callbacks = sChallengeToUserDelegate.callbacks(
        self,
        [self](auto started, const platform::ObjectPtr&) {
            sChallengeToUserDelegate.notify(started, [&](HCChallengeToUserDelegate& d) { d.didCompleteChallenge(self); });
        },
        [self, before, result](auto started) {
            // The service did not take the result: the record says what it
            // said before, unless a later call changed it meanwhile.
            if (self->result_ == result) self->result_ = before;
            sChallengeToUserDelegate.notify(started, [&](HCChallengeToUserDelegate& d) { d.didFailCompleteChallenge(self); });
        });
    result_ = result;
    return sChallengeToUserDelegate.track(HCChallengeService::submitChallengeResult(resourceId(), result, resultDescription_,
                                                                     callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCChallengeToUser::reject()
{
    auto self = platform::self(this);
    auto callbacks = sChallengeToUserDelegate.callbacks(
        self,
        [self](auto started, const platform::ObjectPtr&) {
            sChallengeToUserDelegate.notify(started, [&](HCChallengeToUserDelegate& d) { d.didRejectChallenge(self); });
        },
        [self](auto started) {
            sChallengeToUserDelegate.notify(started, [&](HCChallengeToUserDelegate& d) { d.didFailRejectChallenge(self); });
        });
    return sChallengeToUserDelegate.track(HCChallengeService::rejectChallenge(resourceId(), callbacks.success, callbacks.failure));
}

void HCChallengeToUser::displayCompletionWithData(const std::shared_ptr<platform::Data>& resultData,
                                                  const Text& reChallengeDescription)
{
    if (result_ == kNoResult) return;
    HCChallengeService::displayChallengeCompletedModal(platform::self(this), resultData, resultDescription_,
                                                       reChallengeDescription);
}

HCChallengeToUser::Text HCChallengeToUser::formattedResultDescription() const
{
    if (!resultDescription_) return std::nullopt;
    const auto at = resultDescription_->find("%@");
    if (at == std::string::npos) return resultDescription_;
    const std::string who = !recipient_ || recipient_->isLocalUser() ? "You" : recipient_->name().value_or("");
    std::string text = *resultDescription_;
    text.replace(at, 2, who);
    return text;
}

bool HCChallengeToUser::writeToFile(const std::string& path) const
{
    return HCChallengeService::writeChallengeToUserToFile(path, *this);
}

std::shared_ptr<HCChallengeToUser> HCChallengeToUser::readFromFile(const std::string& path)
{
    return HCChallengeService::readChallengeToUserFromFile(path);
}

std::shared_ptr<HCService> HCChallengeToUser::getService() const
{
    return HCChallengeService::sharedInstance();
}

const HCResourceDataMap& HCChallengeToUser::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("result_text", &HCChallengeToUser::setResultDescription, &HCChallengeToUser::resultDescription);
        m->addField("result", &HCChallengeToUser::setResultFromString, &HCChallengeToUser::getResultAsString);
        m->addField("completed_at", &HCChallengeToUser::setIsCompletedFromString,
                    &HCChallengeToUser::getIsCompletedAsString);
        m->addField("viewed", &HCChallengeToUser::setHasBeenViewed, &HCChallengeToUser::getHasBeenViewedAsString);
        m->addField("attempts", &HCChallengeToUser::setNumAttempts, &HCChallengeToUser::getNumAttemptsAsString);
        m->addNestedResourceField("challenge", &HCChallengeToUser::setChallenge, &HCChallengeToUser::getChallenge);
        m->addNestedResourceField("user", &HCChallengeToUser::setRecipient, &HCChallengeToUser::getRecipient);
        return m;
    }();
    return *map;
}

void HCChallengeToUser::setResultFromString(const std::string& text)
{
    if (text == "win") result_ = kWin;
    if (text == "lose") result_ = kLose;
    if (text == "tie") result_ = kTie;
}

void HCChallengeToUser::setIsCompletedFromString(const std::string& text)
{
    isCompleted_ = platform::boolValue(text);
}

void HCChallengeToUser::setHasBeenViewed(const std::string& text)
{
    hasBeenViewed_ = platform::boolValue(text);
}

void HCChallengeToUser::setNumAttempts(const std::string& text)
{
    attempts_ = static_cast<uint32_t>(platform::intValue(text));
}

void HCChallengeToUser::setChallenge(std::shared_ptr<HCChallenge> challenge)
{
    challenge_ = std::move(challenge);
}

void HCChallengeToUser::setRecipient(std::shared_ptr<HCUser> user)
{
    recipient_ = std::move(user);
}
