#pragma once
// One recipient's copy of a challenge: the challenge, the recipient, the
// result (0 none, 1 win, 2 lose, 3 tie), the result text (which may hold
// one "%@" for the recipient's name), the attempts, and whether the
// recipient has viewed or completed it ("challenges_user" element).
//
// The class is also the game's interface for answering a challenge, on the
// public-class pattern (core/publicclass/HCClassDelegate.h).
//
// Thread: the operations and the callbacks on the main thread; a reply's
// objects are filled on the provider's request thread and handed on whole.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/foundation/Values.h"
#include "transport/handles/HCRequestHandle.h"

class HCChallenge;
class HCChallengeToUserDelegate;
class HCUser;

class HCChallengeToUser final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;
    static constexpr const char* kModule = "HCChallengeToUser";
    enum Result : int { kNoResult = 0, kWin = 1, kLose = 2, kTie = 3 };

    HCChallengeToUser() = default;

    static void setDelegate(HCChallengeToUserDelegate* delegate);
    static HCChallengeToUserDelegate* delegate();
    // The icon file of a result; nil for no result or an unknown code.
    static Text getChallengeResultIconName(int result);
    // "win", "lose", "tie"; the empty text for any other code.
    static std::string resultAsString(int result);

    // Sends the result with the result text. Nil without a callback for
    // result 0. The result is set at once and put back when the service
    // refuses it.
    HCRequestHandlePtr completeWithResult(int result);
    HCRequestHandlePtr reject();
    // After an attempt that has a result: the result screen, with the game's
    // result data and the text of the challenge a won attempt may send back.
    // Nothing without a result.
    void displayCompletionWithData(const std::shared_ptr<platform::Data>& resultData,
                                   const Text& reChallengeDescription);
    // The result text with its first "%@" replaced by "You" (no recipient, or
    // the local player) or the recipient's name; the rest is plain text.
    Text formattedResultDescription() const;
    bool writeToFile(const std::string& path) const;
    static std::shared_ptr<HCChallengeToUser> readFromFile(const std::string& path);

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "challenges_user"; }
    std::string getResourceDiscoveredNotification() const override
    {
        return "halcyon_challenge_to_user_discovered";
    }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    const std::shared_ptr<HCChallenge>& challenge() const { return challenge_; }
    const std::shared_ptr<HCUser>& recipient() const { return recipient_; }
    int result() const { return result_; }
    const Text& resultDescription() const { return resultDescription_; }
    uint32_t attempts() const { return attempts_; }
    bool isCompleted() const { return isCompleted_; }
    bool hasBeenViewed() const { return hasBeenViewed_; }
    // Client-side only: whether this record was already taken off the
    // unviewed count.
    bool hasDecrementedChallengeCount() const { return hasDecrementedChallengeCount_; }

    void setResult(int result) { result_ = result; }
    void setResultDescription(const Text& text) { resultDescription_ = text; }
    void setIsCompleted(bool completed) { isCompleted_ = completed; }
    void setHasDecrementedChallengeCount(bool done) { hasDecrementedChallengeCount_ = done; }

    // Data-map setters and getters.
    void setResultFromString(const std::string& text);
    std::string getResultAsString() const { return resultAsString(result_); }
    void setIsCompletedFromString(const std::string& text);
    std::string getIsCompletedAsString() const { return isCompleted_ ? "1" : "0"; }
    void setHasBeenViewed(const std::string& text);
    std::string getHasBeenViewedAsString() const { return hasBeenViewed_ ? "1" : "0"; }
    void setNumAttempts(const std::string& text);
    std::string getNumAttemptsAsString() const { return std::to_string(attempts_); }
    void setChallenge(std::shared_ptr<HCChallenge> challenge);
    std::shared_ptr<HCChallenge> getChallenge() const { return challenge_; }
    void setRecipient(std::shared_ptr<HCUser> user);
    std::shared_ptr<HCUser> getRecipient() const { return recipient_; }

private:
    std::shared_ptr<HCChallenge> challenge_;
    std::shared_ptr<HCUser> recipient_;
    int result_ = kNoResult;
    Text resultDescription_;
    uint32_t attempts_ = 0;
    bool isCompleted_ = false;
    bool hasBeenViewed_ = false;
    bool hasDecrementedChallengeCount_ = false;
};
