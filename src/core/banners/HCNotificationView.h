#pragma once
// The banner that slides over the game from a screen edge, stays, and
// slides away: 0.25 s in, its time on screen (2.0 s here, 4.0 s for the
// richer banners built on it), 0.5 s out, then it leaves its window.
//
// A banner is made from its layout ("NotificationView", or the subclass's
// own) and configured on the next turn of the main run loop, so a show call
// returns before anything moves. The text form slides in at once; the
// request form starts its request and slides in when the request has
// ended, with no status icon after a success and the failure icon after a
// failure, and hands the result on to the callbacks it stood in front of.
//
// Banners do not queue: two requested together overlap at the same place,
// each on its own timeline.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageView.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

class HCNotificationView : public platform::ui::View,
                           public HCCallbackable,
                           public platform::ui::AnimationDelegate {
public:
    static constexpr double kSlideInSeconds = 0.25;
    static constexpr double kSlideOutSeconds = 0.5;
    static constexpr double kShownSeconds = 2.0;

    using View::View;

    static std::string notificationViewName() { return "NotificationView"; }
    // Nothing happens when the layout cannot be loaded.
    static void showNotificationWithText(const std::string& text, const std::optional<std::string>& imageName,
                                         const std::optional<std::string>& status,
                                         const platform::ui::ViewPtr& inView);
    // False when no banner could be made; the caller then starts the loader.
    static bool showNotificationWithRequest(const OAuthAPIRequestLoaderPtr& loader, const std::string& notice,
                                            const platform::ui::ViewPtr& inView);

    bool canReceiveCallbacksNow() const override { return true; }
    std::string kindName() const override { return "HCNotificationView"; }
    void animationDidStop(const std::shared_ptr<platform::ui::Animation>& animation, bool finished) override;

    // Outlets, connected by the layout; any may be missing.
    std::shared_ptr<platform::ui::Label> notice;
    HCImageViewPtr statusIndicator;
    HCImageViewPtr backgroundImage;
    HCImageViewPtr notificationImage;
    platform::ui::ViewPtr viewToMove;

    // Whether it is sliding in, and how long it stays once in.
    bool isPresenting() const { return presenting_; }
    double notificationDuration() const { return notificationDuration_; }
    bool isParentViewRotatedInternally() const { return parentViewRotatedInternally_; }

    void configureWithText(const std::string& text, const std::optional<std::string>& imageName,
                           const std::optional<std::string>& status, const platform::ui::ViewPtr& inView);
    void configureWithRequest(const OAuthAPIRequestLoaderPtr& loader, const std::string& noticeText,
                              const platform::ui::ViewPtr& inView);

protected:
    // A banner of type T from the layout of that name (main thread), or nil.
    template <class T>
    static std::shared_ptr<T> loadBanner(const std::string& nibName)
    {
        return std::dynamic_pointer_cast<T>(loadBannerView(nibName));
    }
    static platform::ui::ViewPtr loadBannerView(const std::string& nibName);
    // Loads a banner of type T and configures it with the payload on the next turn.
    template <class T, class Payload>
    static void showConfigured(const std::shared_ptr<Payload>& payload, const platform::ui::ViewPtr& inView)
    {
        auto banner = loadBanner<T>(T::notificationViewName());
        if (!banner || !payload) return;
        scheduleConfigure([banner, payload, inView] { banner->configureWithNotificationData(payload, inView); });
    }
    // Runs `configure` on the next turn of the main run loop.
    static void scheduleConfigure(std::function<void()> configure);

    void setupDefaultImages();
    void _setPresentationView(const platform::ui::ViewPtr& view);
    void _buildViewWithText(const std::string& text);
    void _makeStatusIconActiveAndDismiss(const std::optional<std::string>& status);
    void _presentForDuration(double seconds);
    void _dismiss();
    void _calcFrameAndTransform();
    platform::ui::Point _calcOffScreenPosition(platform::ui::Point position) const;
    static bool isParentViewRotatedInternally(const platform::ui::ViewPtr& view);
    static std::string _getBackgroundImageName();
    void _animateFromPosition(platform::ui::Point from, platform::ui::Point to, double seconds, bool removeOnCompletion,
                              platform::ui::FillMode fillMode);
    void _animateKeypath(const std::string& keyPath, double from, double to, double seconds, bool removeOnCompletion,
                         platform::ui::FillMode fillMode);
    void _requestSucceeded(std::shared_ptr<platform::Object> result, std::shared_ptr<HCDelegateChained> nextCall);
    void _requestFailed(std::shared_ptr<platform::Object> result, std::shared_ptr<HCDelegateChained> nextCall);

private:
    platform::ui::ViewPtr presentationView_;
    bool parentViewRotatedInternally_ = false;
    bool presenting_ = false;
    double notificationDuration_ = 0;
};

using HCNotificationViewPtr = std::shared_ptr<HCNotificationView>;
