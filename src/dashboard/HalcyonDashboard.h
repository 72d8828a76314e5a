#pragma once
// The Halcyon class's dashboard machinery, in the layer that knows the
// dashboard's controllers: opening the dashboard on a tab with pages pushed
// (after the approval question when the player was never asked), single
// full-screen modals and overlays in the same frame, the queue behind a
// dashboard that is fading out, dismissal with the status bar put back, the
// game's delegate told of each appearance, the statistics of each opening,
// and the error, upgrade and maintenance screens inside it, one at a time.
// Halcyon reaches it through the hooks it installs (hooks()).
//
// States: absent (no root controller) -> appearing (frame made, "will
// appear" told) -> shown (its transition ended: "did appear") -> dismissing
// -> absent (the out transition ended: destroyed), then the queued modal,
// if any, starts a new cycle. While shown, a new full modal or overlay is
// queued (the last one asked wins), not stacked; the tabbed dashboard
// instead reuses the open hub and switches tab. A frame's appearance and
// closing all go to the delegate in force when it began to appear (its
// launch's, else the game's own), even when another launch comes before it
// has gone.
//
// Thread: main thread; the delayed error push and the transitions' ends
// come through the main run loop.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/halcyon/HCDashboardHooks.h"
#include "platform/foundation/Values.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

class HalcyonDelegate;
class HCRootController;

class HalcyonDashboard {
public:
    static constexpr int kOverlayDimViewTag = 489;
    static constexpr double kOverlayDimAlpha = 0.85;
    static constexpr double kOverlayFadeSeconds = 0.5;
    static constexpr double kErrorPushDelaySeconds = 0.1;
    static constexpr const char* kRootControllerName = "Root";
    static constexpr const char* kTabbedDashboardControllerName = "TabbedDashboard";
    static constexpr const char* kHighScoreControllerName = "HighScore";
    static constexpr const char* kNowPlayingTab = "GameProfile";
    static constexpr const char* kNoAccountTitle = "No Halcyon Account";
    static constexpr const char* kNoAccountMessage = "You must go online once and connect to the Halcyon server.";

    // What Halcyon calls; installed by the client's hook installation.
    static HCDashboardHooks hooks();

    // --- derived states ------------------------------------------------------
    static std::shared_ptr<HCRootController> getRootController();
    // Where a sheet covering the whole dashboard goes: the view of the root
    // controller's content, else the root controller's own; nil without one.
    static platform::ui::ViewPtr getTopLevelView();
    static bool isShowingFullScreen();
    // Full screen with the tabbed dashboard as its content.
    static bool isDashboardHubOpen();
    static std::shared_ptr<platform::ui::NavigationController> getActiveNavigationController();
    // The game's presentation window, else the key window, else the first
    // window. With no window at all: a programming error, and nil.
    static std::shared_ptr<platform::ui::Window> getTopApplicationWindow();

    // --- opening ----------------------------------------------------------------
    static void launchDashboardWithDelegate(HalcyonDelegate* delegate, const std::optional<std::string>& tab,
                                            const std::vector<platform::ObjectPtr>& controllers);
    static void presentRootControllerWithTabbedDashboard(const std::optional<std::string>& tab,
                                                         const std::vector<platform::ObjectPtr>& controllers);
    // After the approval: the default tab when online; else nothing opens.
    static void _presentRootControllerWithTabbedDashboard();
    static void presentRootControllerWithModal(const platform::ui::ViewControllerPtr& controller);
    static void presentModalOverlay(const platform::ui::ViewControllerPtr& controller, bool opaque = true);
    // Makes the frame, or queues the modal (answering NO) while one is shown or fading.
    static bool tryCreateDashboardWithModal(const platform::ui::ViewControllerPtr& controller);

    // --- closing ----------------------------------------------------------------
    static void dismissRootController();
    // Only while full screen: the root controller's modal goes (animated);
    // without one the dashboard itself closes.
    static void dismissRootControllerOrItsModal();
    // The root controller's transition ended.
    static void animationDidStop(bool finished);
    static void destroyDashboard();

    static void dashboardWillAppear();
    static void dashboardDidAppear();
    static void dashboardWillDisappear();
    static void dashboardDidDisappear();

    static void reloadInactiveTabBars();
    // The log-in's switch of the tabs' content.
    static void switchToOnlineMode();
    static void switchToOfflineMode();

    // --- error screens ----------------------------------------------------------
    static void displayErrorMessage(const std::string& text);
    // The same screen, always offering to go on offline.
    static void displayErrorMessageAndOfflineButton(const std::string& text);
    static void displayErrorMessage(const platform::ui::ViewControllerPtr& controller,
                                    const std::shared_ptr<platform::ui::NavigationController>& navigation);
    // The reply of a 426: its "error_message" text, with its first "%@" (if
    // any) replaced by the game's display name and nothing else read into it.
    static void displayUpgradeRequiredErrorMessage(const std::shared_ptr<platform::Data>& reply);
    static void displayServerMaintenanceNotice(const std::shared_ptr<platform::Data>& reply);
    static void allowErrorScreens(bool allow);
    static bool areErrorScreensAllowed();
    static bool isShowingErrorScreenInNavController(const std::shared_ptr<platform::ui::NavigationController>& nav);
    // The text of an upgrade reply's message as shown.
    static std::optional<std::string> upgradeMessageFromReply(const std::shared_ptr<platform::Data>& reply);

    // Forgets everything of the dashboard without telling anyone (tests).
    static void _resetForTesting();
};
