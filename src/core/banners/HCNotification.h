#pragma once
// The banner service: what the client asks for when it tells the player
// about its own work. One shared instance, never released.
//
// Every banner passes the gate first: banners the player disabled (the
// user option isDisabled) or the game's notification delegate vetoes are
// not shown, and the delegate hears handleDisallowedNotification instead;
// an allowed one is announced with notificationWillShow and shown in the
// top application window (nothing is shown without a window). Background
// notices are dropped without a word while the dashboard's hub is open.
//
// The default notice is armed by a caller before a service call and shown
// after the call's reply has been read, unless the reply carried a server
// banner, which replaces it (a vetoed server banner offers it after all).
//
// Thread: every operation may be called on any thread. The armed default
// notice is taken on the calling thread, under a lock, so each reply takes
// the notice armed for its own call. The banners, the gate and the game's
// delegate run on the main thread, in call order (at once when called
// there), because the game's objects live there.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "core/banners/HCNotificationData.h"
#include "platform/runtime/Object.h"
#include "platform/ui/View.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

class HCServerNotification;

class HCNotification final : public platform::Object {
public:
    static std::shared_ptr<HCNotification> sharedInstance();

    // Arms the default notice, replacing an armed one; status nil: no icon.
    void setDefaultBackgroundNotice(const HCNotificationDataPtr& notice, const std::optional<std::string>& status);
    void clearDefaultNotice();
    HCNotificationDataPtr defaultBackgroundNotice() const;
    std::optional<std::string> defaultStatus() const;
    // Shows the armed notice, if any, and disarms it.
    void showDefaultNotice();

    // A text banner, 2.0 s.
    void showBackgroundNotice(const HCNotificationDataPtr& notice, const std::optional<std::string>& status);
    // A banner that appears when the loader's request has ended, 2.0 s. The
    // loader is started in every case (vetoed, no window, no banner) so the
    // call itself is never lost. `notice` is an HCNotificationData or the
    // banner's text; nil starts the loader without a banner.
    void showBackgroundNoticeForLoader(const OAuthAPIRequestLoaderPtr& loader, const platform::ObjectPtr& notice);
    // The achievement banner, 4.0 s; nil: a plain "Achievement Unlocked!".
    void showAchievementNotice(const std::optional<HCAchievementNoticeInfo>& achievement, double percentComplete);
    // The challenge banner, 4.0 s; nil: a plain "New Challenge!".
    void showChallengeNotice(const std::optional<HCChallengeNoticeInfo>& challenge);
    // The server's banner, 4.0 s, with the armed default notice's category
    // and type (8 and 0 when none is armed). Nil does nothing.
    void showServerNotification(const std::shared_ptr<HCServerNotification>& notification);

    // A success banner of the text, shown at once through the gate, as a
    // request's banner is once its request ended (main thread).
    void showTextNotice(const std::string& text);

    // The gate and the delegate's two tellings (main thread).
    bool allowNotice(const HCNotificationDataPtr& notice) const;
    void onNotificationWillShow(const HCNotificationDataPtr& notice) const;
    void handleDisallowedNotification(const HCNotificationDataPtr& notice) const;

    // getTopApplicationWindow: the game's presentation window, else the key
    // window, else the first window; nil without one (main thread).
    static platform::ui::ViewPtr topApplicationWindow();

private:
    // Runs the gate; with an allowed notice and a window, tells the delegate
    // and answers the window, else nil.
    platform::ui::ViewPtr admit(const HCNotificationDataPtr& notice) const;
    // Disarms the default notice and answers what was armed.
    std::pair<HCNotificationDataPtr, std::optional<std::string>> takeDefaultNotice();

    mutable std::mutex mutex_;
    HCNotificationDataPtr defaultBackgroundNotice_;
    std::optional<std::string> defaultStatus_;
};
