#pragma once
// A challenge one player sends to others: its type (a challenge
// definition), the sender, the text recipients see, the sender's message, a
// hidden text that travels along, and the game's data blob, which the
// service keeps and hands out again by URL ("challenge" element).
//
// The class is also the game's interface for sending a challenge and
// fetching its data, on the public-class pattern
// (core/publicclass/HCClassDelegate.h).
//
// Thread: the operations and the callbacks on the main thread; a reply's
// objects are filled on the provider's request thread and handed on whole.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/foundation/Values.h"
#include "transport/handles/HCRequestHandle.h"

class HCChallengeDefinition;
class HCChallengeObjectDelegate;
class HCChallengeToUser;
class HCUser;

class HCChallenge final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;
    using DataPtr = std::shared_ptr<platform::Data>;
    static constexpr const char* kModule = "HCChallenge";
    // The data URL the service gives a challenge sent without data.
    static constexpr const char* kEmptyDataUrl = "/empty.blob";

    HCChallenge() = default;
    static std::shared_ptr<HCChallenge> initWithDefinition(std::shared_ptr<HCChallengeDefinition> definition,
                                                           const Text& challengeDescription, DataPtr challengeData);

    static void setDelegate(HCChallengeObjectDelegate* delegate);
    static HCChallengeObjectDelegate* delegate();

    // Sends this challenge to the users (ids), in answer to the record when
    // one is given. Nil, and a failure at once, without a definition id.
    HCRequestHandlePtr sendChallenge(const std::vector<std::string>& userIds,
                                     const std::shared_ptr<HCChallengeToUser>& inResponseToChallenge);
    // The send screen: the player picks the friends this challenge goes to.
    void displayAndSendChallenge();
    // Nil without a callback when there is no data URL.
    HCRequestHandlePtr downloadChallengeData();
    bool usesChallengeData() const;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "challenge"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_challenge_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    const std::shared_ptr<HCChallengeDefinition>& challengeDefinition() const { return challengeDefinition_; }
    const std::shared_ptr<HCUser>& challenger() const { return challenger_; }
    const Text& challengeDescription() const { return challengeDescription_; }
    const Text& userMessage() const { return userMessage_; }
    const Text& hiddenText() const { return hiddenText_; }
    const Text& challengeDataUrl() const { return challengeDataUrl_; }
    // Only a challenge made here to be sent holds its data.
    const DataPtr& challengeData() const { return challengeData_; }

    std::shared_ptr<HCChallengeDefinition> getChallengeDefinition() const { return challengeDefinition_; }
    std::shared_ptr<HCUser> getChallenger() const { return challenger_; }

    void setChallengeDefinition(std::shared_ptr<HCChallengeDefinition> definition);
    void setChallenger(std::shared_ptr<HCUser> user);
    void setChallengeDescription(const Text& text) { challengeDescription_ = text; }
    void setUserMessage(const Text& text) { userMessage_ = text; }
    void setHiddenText(const Text& text) { hiddenText_ = text; }
    void setDataUrl(const Text& text) { challengeDataUrl_ = text; }

private:
    std::shared_ptr<HCChallengeDefinition> challengeDefinition_;
    std::shared_ptr<HCUser> challenger_;
    Text challengeDescription_;
    Text userMessage_;
    Text hiddenText_;
    Text challengeDataUrl_;
    DataPtr challengeData_;
};
