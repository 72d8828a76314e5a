#pragma once
// One achievement of the running game: its definition (title, description,
// gamerscore, icon, secrecy, position, version range) with the local
// player's progress in percent (100 is unlocked), read from a server reply
// ("achievement" element) or from the offline store.
//
// The class is also the game's interface to achievements, on the public-class
// pattern (core/publicclass/HCClassDelegate.h): one class delegate, not
// retained; setDelegate(nullptr) cancels the class's requests; each
// operation reports to the delegate only when it implements the callback.
// An operation that starts a request answers its handle, registered under
// kModule; nil when none was started.
//
// Thread: the class operations, the instance operations and the callbacks on
// the main thread; a reply's objects are filled on the provider's request
// thread and handed on whole.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/images/HCImageDownload.h"
#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/foundation/Date.h"
#include "transport/handles/HCRequestHandle.h"

class HCAchievementDelegate;
class HCSqlQuery;

class HCAchievement final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;
    static constexpr const char* kModule = "HCAchievement";

    HCAchievement() = default;

    // --- The game's class operations --------------------------------------
    // The local copy for the last logged-in player and this game version;
    // an object with only the id when the store has none (it cannot be
    // unlocked: the update fails).
    static std::shared_ptr<HCAchievement> achievement(const std::string& achievementId);
    // Every achievement of this game version from the local store.
    static std::vector<std::shared_ptr<HCAchievement>> achievements();
    static void setDelegate(HCAchievementDelegate* delegate);
    static HCAchievementDelegate* delegate();
    // Sends the deferred progress; nil, with no callback, when nothing was sent.
    static HCRequestHandlePtr submitDeferredAchievements();
    // Reports all local progress above 0 to Game Center again.
    static void forceSyncGameCenterAchievements();
    static void setCustomUrlForSocialNotificaion(const Text& url);

    // --- The game's instance operations -----------------------------------
    // Stores the progress (clamped to 0..100) when it raises the stored one
    // and reports at once; 100 also posts the unlock. Nil when no request
    // was started.
    HCRequestHandlePtr updateProgressionComplete(double percentComplete, bool showNotification);
    // Records the progress to be sent with submitDeferredAchievements.
    void deferUpdateProgressionComplete(double percentComplete, bool showNotification);
    HCRequestHandlePtr unlock() { return updateProgressionComplete(100.0, false); }
    void unlockAndDefer() { deferUpdateProgressionComplete(100.0, false); }
    // The icon from the image cache (reported before this returns; nil) or
    // downloaded (its handle).
    HCRequestHandlePtr getIcon();

    // --- The local store's row ----------------------------------------------
    // A row of the achievement queries: the definition's columns and
    // "unlocked_date"; the percentage is the last logged-in player's. A NULL
    // text column leaves its field nil.
    static std::shared_ptr<HCAchievement> initWithLocalSQL(const HCSqlQuery& row);

    // --- Resource -------------------------------------------------------------
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "achievement"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_achievement_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    const Text& title() const { return title_; }
    // The description replaces the general object description; nil reads
    // as empty there, and descriptionText() keeps it apart.
    std::string description() const override { return description_.value_or(""); }
    const Text& descriptionText() const { return description_; }
    uint32_t gamerscore() const { return gamerscore_; }
    const Text& iconUrl() const { return iconUrl_; }
    bool isSecret() const { return isSecret_; }
    double percentComplete() const { return percentComplete_; }
    bool isUnlocked() const { return percentComplete_ >= 100.0; }
    const platform::DatePtr& unlockDate() const { return unlockDate_; }
    bool isUnlockedByComparedToUser() const { return isUnlockedByComparedToUser_; }
    const Text& comparedToUserId() const { return comparedToUserId_; }
    const Text& endVersion() const { return endVersion_; }
    const Text& startVersion() const { return startVersion_; }
    uint32_t position() const { return position_; }

    // Data-map setters: the element texts.
    void setTitle(const Text& text) { title_ = text; }
    void setDescription(const Text& text) { description_ = text; }
    void setGamerscoreFromString(const std::string& text);
    void setIconUrl(const Text& text) { iconUrl_ = text; }
    void setIsSecretFromString(const std::string& text);
    void setPercentCompleteFromString(const std::string& text);
    void setIsUnlockedByComparedToUserFromString(const std::string& text);
    void setComparedToUserId(const Text& text) { comparedToUserId_ = text; }
    // "yyy-MM-dd HH:mm:ss zzz"; 19 characters (no zone) are read as GMT.
    // Nil, empty or unreadable text: no date.
    void setUnlockDateFromString(const Text& text);
    void setPositionFromString(const std::string& text);
    void setEndVersion(const Text& text) { endVersion_ = text; }
    void setStartVersion(const Text& text) { startVersion_ = text; }

    void setPercentComplete(double percent) { percentComplete_ = percent; }
    void setUnlockDate(platform::DatePtr date) { unlockDate_ = std::move(date); }

private:
    Text title_;
    Text description_;
    uint32_t gamerscore_ = 0;
    Text iconUrl_;
    bool isSecret_ = false;
    double percentComplete_ = 0.0;
    platform::DatePtr unlockDate_;
    bool isUnlockedByComparedToUser_ = false;
    Text comparedToUserId_;
    Text endVersion_;
    Text startVersion_;
    uint32_t position_ = 0;
    HCImageDownloadSlots iconDownload_;
};
