#pragma once
// The application object: its windows and key window, the status bar, the
// icon badge, opened URLs, remote-notification registration and the
// life-cycle state.
//
// The host (or a test) reports life-cycle changes with resignActive(),
// becomeActive(), enterBackground() and enterForeground(); each posts its
// notification through the default NotificationCenter, synchronously, with
// the application as the object. URLs are never opened for real: openURL
// records them and answers what canOpenURL answers.
//
// Thread: main thread only.
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Geometry.h"

namespace platform::ui {

class Window;

// Numbers match the platform's interface orientations (3 and 4 are landscape).
enum class InterfaceOrientation : int {
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeRight = 3,
    LandscapeLeft = 4,
};

inline bool isLandscape(InterfaceOrientation o)
{
    return o == InterfaceOrientation::LandscapeLeft || o == InterfaceOrientation::LandscapeRight;
}

// Numbers match the platform's status bar styles.
enum class StatusBarStyle : int { Default = 0, BlackTranslucent = 1, BlackOpaque = 2 };

enum class ApplicationState { Active, Inactive, Background };

inline constexpr const char* ApplicationWillResignActiveNotification = "ApplicationWillResignActiveNotification";
inline constexpr const char* ApplicationDidBecomeActiveNotification = "ApplicationDidBecomeActiveNotification";
inline constexpr const char* ApplicationDidEnterBackgroundNotification = "ApplicationDidEnterBackgroundNotification";
inline constexpr const char* ApplicationWillEnterForegroundNotification = "ApplicationWillEnterForegroundNotification";

class Application final : public Object {
public:
    static constexpr double kStatusBarHeight = 20;

    // One change of the status bar, kept so callers can check what was asked
    // and whether it was animated.
    struct StatusBarChange {
        enum class What { Hidden, Orientation, Style } what;
        int value;  // 0/1 for Hidden, the enum's number otherwise
        bool animated;
        bool operator==(const StatusBarChange&) const = default;
    };

    static std::shared_ptr<Application> shared();
    // A fresh application for the next test: no windows, status bar shown in
    // portrait, badge 0, nothing opened or registered, active.
    static void resetShared();

    // --- windows ----------------------------------------------------------
    // Living windows in the order they were made or first shown.
    std::vector<std::shared_ptr<Window>> windows() const;
    std::shared_ptr<Window> keyWindow() const { return keyWindow_.lock(); }

    // --- status bar -------------------------------------------------------
    bool isStatusBarHidden() const { return statusBarHidden_; }
    void setStatusBarHidden(bool hidden, bool animated);
    InterfaceOrientation statusBarOrientation() const { return statusBarOrientation_; }
    void setStatusBarOrientation(InterfaceOrientation orientation, bool animated);
    StatusBarStyle statusBarStyle() const { return statusBarStyle_; }
    void setStatusBarStyle(StatusBarStyle style, bool animated);
    // In screen (portrait) coordinates, along the edge that is on top for the
    // status bar's orientation; an empty rectangle while hidden.
    Rect statusBarFrame() const;
    const std::vector<StatusBarChange>& statusBarChanges() const { return statusBarChanges_; }

    // --- badge, URLs, remote notifications --------------------------------
    int applicationIconBadgeNumber() const { return badgeNumber_; }
    void setApplicationIconBadgeNumber(int n) { HC_CHECK_MAIN_THREAD(); badgeNumber_ = n; }
    bool canOpenURL(const std::string& url) const;
    void setCanOpenURLs(bool answer) { HC_CHECK_MAIN_THREAD(); canOpenURLs_ = answer; }
    // Records the URL when it can be opened; answers whether it was.
    bool openURL(const std::string& url);
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }
    void registerForRemoteNotificationTypes(unsigned types);
    void unregisterForRemoteNotifications();
    // The types last registered; 0 when none (or unregistered).
    unsigned registeredRemoteNotificationTypes() const { return remoteTypes_; }
    int remoteNotificationRegistrationCount() const { return remoteRegistrations_; }

    // --- life cycle (reported by the host) --------------------------------
    ApplicationState applicationState() const { return state_; }
    void resignActive();
    void becomeActive();
    void enterBackground();
    void enterForeground();

private:
    friend class Window;
    void addWindow(const std::shared_ptr<Window>& window);
    void setKeyWindow(const std::shared_ptr<Window>& window);

    std::vector<std::weak_ptr<Window>> windows_;
    std::weak_ptr<Window> keyWindow_;
    bool statusBarHidden_ = false;
    InterfaceOrientation statusBarOrientation_ = InterfaceOrientation::Portrait;
    StatusBarStyle statusBarStyle_ = StatusBarStyle::Default;
    std::vector<StatusBarChange> statusBarChanges_;
    int badgeNumber_ = 0;
    bool canOpenURLs_ = true;
    std::vector<std::string> openedURLs_;
    unsigned remoteTypes_ = 0;
    int remoteRegistrations_ = 0;
    ApplicationState state_ = ApplicationState::Active;
};

}  // namespace platform::ui
