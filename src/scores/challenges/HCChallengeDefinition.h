#pragma once
// One type of challenge a game offers: its title, icon, owning game and
// whether a recipient may try again ("challenge_definition" element).
//
// The class is also the game's interface to definitions, on the public-class
// pattern (core/publicclass/HCClassDelegate.h): one class delegate, not
// retained; setDelegate(nullptr) cancels the class's requests; a callback
// reaches the delegate only when it implements it.
//
// Thread: the operations and the callbacks on the main thread; a reply's
// objects are filled on the provider's request thread and handed on whole.
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageDownload.h"
#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "transport/handles/HCRequestHandle.h"

class HCChallengeDefinitionDelegate;

class HCChallengeDefinition final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;
    static constexpr const char* kModule = "HCChallengeDefinition";

    HCChallengeDefinition() = default;

    static void setDelegate(HCChallengeDefinitionDelegate* delegate);
    static HCChallengeDefinitionDelegate* delegate();
    // The game's definitions; an empty list reports a failure.
    static HCRequestHandlePtr downloadAllChallengeDefinitions();
    // Nil and a failure at once for a nil or empty id.
    static HCRequestHandlePtr downloadChallengeDefinitionWithId(const Text& definitionId);

    // The icon from the image cache (reported before this returns; nil) or
    // downloaded (its handle). Each call keeps its own transfer, so a second
    // call does not cut off the first.
    HCRequestHandlePtr getIcon();

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "challenge_definition"; }
    std::string getResourceDiscoveredNotification() const override
    {
        return "halcyon_challenge_definition_discovered";
    }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    const Text& title() const { return title_; }
    const Text& clientApplicationId() const { return clientApplicationId_; }
    const Text& iconUrl() const { return iconUrl_; }
    bool multiAttempt() const { return multiAttempt_; }
    std::string getMultiAttemptAsString() const { return multiAttempt_ ? "1" : "0"; }

    void setTitle(const Text& text) { title_ = text; }
    void setClientApplicationId(const Text& text) { clientApplicationId_ = text; }
    void setIconUrl(const Text& text) { iconUrl_ = text; }
    void setMultiAttempt(const std::string& text);

private:
    Text title_;
    Text clientApplicationId_;
    Text iconUrl_;
    bool multiAttempt_ = false;
    // One entry per icon transfer; finished ones are let go at the next call.
    std::list<HCImageDownloadSlots> iconDownloads_;
};
