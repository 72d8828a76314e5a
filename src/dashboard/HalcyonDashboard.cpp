#include "dashboard/HalcyonDashboard.h"

#include <utility>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/images/HCImageCache.h"
#include "dashboard/HCDeadEndErrorController.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCGameContextPusher.h"
#include "dashboard/HCLaunchItemFollower.h"
#include "dashboard/HCOnlineStatusFollower.h"
#include "dashboard/HCPostPushPage.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HCServerMaintenanceNoticeController.h"
#include "dashboard/HCTabbedDashboardController.h"
#include "kernel/callbacks/HCDelegate.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace {

// What the dashboard keeps from its opening to its closing and between
// launches: the root controller, the modal waiting for the frame, the status
// bar as the game had it, and which delegate hears the frame's cycle. Main
// thread only, like the controllers it holds.
struct DashboardState {
    std::shared_ptr<HCRootController> root;
    bool dismissing = false;
    platform::ui::ViewControllerPtr queuedModal;
    bool queuedIsOverlay = false;
    bool showingOverlay = false;
    platform::ui::InterfaceOrientation previousOrientation = platform::ui::InterfaceOrientation::Portrait;
    bool previousStatusBarHidden = false;
    bool errorPending = false;
    // "Will appear" was told for the frame in place, so its closing is told too.
    bool opened = false;
    // The delegate told of the frame's "will appear" hears the rest of its
    // cycle, whatever launch comes meanwhile: so each launch's delegate
    // hears its own dashboard's appearance and closing, each once.
    HalcyonDelegate* frameDelegate = nullptr;
    // A launch made while a frame it cannot reuse is in place (fading out,
    // or showing another modal) is for the frame after it: that frame's
    // going leaves the launch's delegate in force.
    bool launchForNextFrame = false;
};

DashboardState& stateInHalcyonDashboard()
{
    static DashboardState s;
    return s;
}

bool isOnline()
{
    return Halcyon::isOnline();
}

bool isGameServerReachable()
{
    auto reachability = HCReachability::Instance();
    return reachability && reachability->isGameServerReachable();
}

// Leaderboards in the offline database let the dashboard open without the service.
bool hasOfflineLeaderboards()
{
    return HCLeaderboardService::hasLeaderboards();
}

template <class Call>
void tellFrameDelegate(Call call)
{
    // After shut-down the game's delegates are no longer the client's to call.
    HalcyonDelegate* delegate = stateInHalcyonDashboard().frameDelegate;
    if (delegate && Halcyon::sharedInstance()) {
        platform::callOptional([&] { call(*delegate); });
    }
}

std::shared_ptr<HCTabbedDashboardController> hub()
{
    auto root = stateInHalcyonDashboard().root;
    return root ? std::dynamic_pointer_cast<HCTabbedDashboardController>(root->contentController()) : nullptr;
}

// The controller an item of the launch's push list stands for.
// A text item is a page's loader name, unless the page before it reads it.
platform::ui::ViewControllerPtr controllerForItem(const platform::ObjectPtr& item,
                                                 const platform::ui::ViewControllerPtr& previous)
{
    if (auto name = std::dynamic_pointer_cast<platform::String>(item)) {
        if (auto follower = std::dynamic_pointer_cast<HCLaunchItemFollower>(previous)) {
            return follower->controllerForFollowingLaunchItem(name->value());
        }
        return HCControllerLoader::load(name->value());
    }
    return std::dynamic_pointer_cast<platform::ui::ViewController>(item);
}

// Every page of the dashboard's tabs that follows the connection hears of it.
void tellPagesOnlineStatus(const std::shared_ptr<HCTabbedDashboardController>& dashboard, bool online)
{
    // A copy: a page may change its stack while it redraws.
    const auto tabs = dashboard->viewControllers();
    for (const auto& tab : tabs) {
        auto navigation = std::dynamic_pointer_cast<platform::ui::NavigationController>(tab);
        if (!navigation) continue;
        const auto pages = navigation->viewControllers();
        for (const auto& page : pages) {
            if (auto follower = std::dynamic_pointer_cast<HCOnlineStatusFollower>(page)) follower->setOnlineStatus(online);
        }
    }
}

// Whether the Now Playing tab may show a page of this title.
bool nowPlayingAllows(const platform::ui::ViewControllerPtr& controller)
{
    const std::string& title = controller->title();
    if (title == "Achievements") {
        return Halcyon::appHasAchievements();
    }
    if (title == "Leaderboards" || title == "HighScore") {
        return Halcyon::appHasLeaderboards() || hasOfflineLeaderboards();
    }
    return true;
}

}  // namespace

HCDashboardHooks HalcyonDashboard::hooks()
{
    HCDashboardHooks hooks;
    hooks.launchDashboard = &HalcyonDashboard::launchDashboardWithDelegate;
    hooks.dismissDashboard = &HalcyonDashboard::dismissRootController;
    hooks.isShowingFullScreen = &HalcyonDashboard::isShowingFullScreen;
    hooks.isDashboardHubOpen = &HalcyonDashboard::isDashboardHubOpen;
    hooks.rootView = [] {
        auto root = stateInHalcyonDashboard().root;
        return root ? root->view() : nullptr;
    };
    hooks.switchToOnlineMode = &HalcyonDashboard::switchToOnlineMode;
    hooks.switchToOfflineMode = &HalcyonDashboard::switchToOfflineMode;
    return hooks;
}

// ===== Derived states ============================================================

std::shared_ptr<HCRootController> HalcyonDashboard::getRootController()
{
    return Halcyon::sharedInstance() ? stateInHalcyonDashboard().root : nullptr;
}

platform::ui::ViewPtr HalcyonDashboard::getTopLevelView()
{
    HC_CHECK_MAIN_THREAD();
    auto root = getRootController();
    if (!root) return nullptr;
    const auto& content = root->contentController();
    return content ? content->view() : root->view();
}

bool HalcyonDashboard::isShowingFullScreen()
{
    auto root = getRootController();
    return root && !stateInHalcyonDashboard().dismissing && root->contentController();
}

bool HalcyonDashboard::isDashboardHubOpen()
{
    return isShowingFullScreen() && hub();
}

std::shared_ptr<platform::ui::NavigationController> HalcyonDashboard::getActiveNavigationController()
{
    HC_CHECK_MAIN_THREAD();
    auto root = getRootController();
    if (!root) {
        return nullptr;
    }
    if (auto modal = std::dynamic_pointer_cast<platform::ui::NavigationController>(root->modalViewController())) {
        return modal;
    }
    auto content = root->contentController();
    if (auto navigation = std::dynamic_pointer_cast<platform::ui::NavigationController>(content)) {
        return navigation;
    }
    if (auto tabs = std::dynamic_pointer_cast<platform::ui::TabBarController>(content)) {
        return std::dynamic_pointer_cast<platform::ui::NavigationController>(tabs->selectedViewController());
    }
    return nullptr;
}

std::shared_ptr<platform::ui::Window> HalcyonDashboard::getTopApplicationWindow()
{
    if (auto window = std::dynamic_pointer_cast<platform::ui::Window>(Halcyon::presentationWindow())) {
        return window;
    }
    auto application = platform::ui::Application::shared();
    if (auto key = application->keyWindow()) {
        return key;
    }
    auto windows = application->windows();
    if (windows.empty()) {
        platform::reportProgrammingError("Your application must have at least one window set before launching Halcyon");
        return nullptr;
    }
    return windows.front();
}

// ===== Opening ====================================================================

void HalcyonDashboard::launchDashboardWithDelegate(HalcyonDelegate* delegate, const std::optional<std::string>& tab,
                                                   const std::vector<platform::ObjectPtr>& controllers)
{
    HC_CHECK_MAIN_THREAD();
    if (!Halcyon::sharedInstance()) {
        return;
    }
    DashboardState& s = stateInHalcyonDashboard();
    s.launchForNextFrame = s.root && !isDashboardHubOpen();
    Halcyon::setLaunchDelegate(delegate);
    const bool offlineLeaderboards = !Halcyon::requireOnlineStatus() && hasOfflineLeaderboards();
    if (!Halcyon::hasUserApprovedHalcyon() && !offlineLeaderboards) {
        // The tab and pages of this launch are not kept: after the approval
        // the dashboard opens on its default tab.
        Halcyon::presentUserHalcyonApprovalModal(
            HCDelegate::withFunction([](const platform::ObjectPtr&) { _presentRootControllerWithTabbedDashboard(); }),
            HCDelegate());
        return;
    }
    auto provider = Halcyon::provider();
    if ((provider && provider->isAuthenticated() && Halcyon::lastLoggedInUserId() != "0") || offlineLeaderboards) {
        presentRootControllerWithTabbedDashboard(tab, controllers);
        return;
    }
    if (isGameServerReachable()) {
        Halcyon::launchLoginFlowToDashboard();
        return;
    }
    platform::ui::AlertView::make(kNoAccountTitle, kNoAccountMessage, {}, std::string("OK"))->show();
}

void HalcyonDashboard::_presentRootControllerWithTabbedDashboard()
{
    HC_CHECK_MAIN_THREAD();
    if (isOnline()) {
        presentRootControllerWithTabbedDashboard(std::nullopt, {});
    } else {
        destroyDashboard();
    }
}

void HalcyonDashboard::presentRootControllerWithTabbedDashboard(const std::optional<std::string>& tab,
                                                                const std::vector<platform::ObjectPtr>& controllers)
{
    HC_CHECK_MAIN_THREAD();
    auto dashboard = isDashboardHubOpen() ? hub() : nullptr;
    const bool reused = dashboard != nullptr;
    if (!dashboard) {
        dashboard = std::dynamic_pointer_cast<HCTabbedDashboardController>(
            HCControllerLoader::load(kTabbedDashboardControllerName));
        if (!dashboard) {
            return;
        }
        // Its tabs exist before it is shown or queued.
        dashboard->view();
    }
    std::optional<std::string> chosen = tab;
    auto initial = Halcyon::initialDashboardScreen();
    if (!tab && Halcyon::hasUserApprovedHalcyon() && initial && !initial->empty()) {
        chosen = initial;
    }
    std::string tabName = chosen.value_or(dashboard->defaultTab());
    std::vector<platform::ObjectPtr> pushes = controllers;
    if (!isOnline()) {
        tabName = dashboard->offlineTab();
        pushes.clear();
    }
    if (!reused) {
        presentRootControllerWithModal(dashboard);
    }
    dashboard->showTabViewControllerNamed(tabName);
    auto navigation = std::dynamic_pointer_cast<platform::ui::NavigationController>(dashboard->selectedViewController());
    if (!navigation) {
        return;
    }
    if (reused) {
        navigation->popToRootViewController(false);
    }
    const bool nowPlaying = tabName == kNowPlayingTab;
    std::shared_ptr<HCGameContextPusher> gamePage;
    if (nowPlaying) {
        if (auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(navigation)) {
            framed->changeGameContext(Halcyon::localGameProfileInfo());
        }
        if (!navigation->viewControllers().empty()) {
            gamePage = std::dynamic_pointer_cast<HCGameContextPusher>(navigation->viewControllers().front());
        }
    }
    platform::ui::ViewControllerPtr previous;
    for (const auto& item : pushes) {
        auto controller = controllerForItem(item, previous);
        previous = controller;
        if (!controller) {
            continue;
        }
        if ((nowPlaying && !nowPlayingAllows(controller)) || !isOnline()) {
            break;
        }
        if (gamePage) {
            gamePage->fillPushedController(controller, Halcyon::localGameProfileInfo());
        }
        navigation->pushViewController(controller, true);
        if (auto pushed = std::dynamic_pointer_cast<HCPostPushPage>(controller)) {
            pushed->postPush();
        }
    }
}

void HalcyonDashboard::presentRootControllerWithModal(const platform::ui::ViewControllerPtr& controller)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller || Halcyon::isDisabled()) {
        return;
    }
    if (!tryCreateDashboardWithModal(controller)) {
        stateInHalcyonDashboard().queuedIsOverlay = false;
        return;
    }
    auto root = stateInHalcyonDashboard().root;
    stateInHalcyonDashboard().showingOverlay = false;
    const platform::ui::Rect bounds = root->view()->bounds();
    controller->view()->setFrame(platform::ui::Rect(0, 0, bounds.width(), bounds.height()));
    root->setTransitionIn(platform::ui::TransitionSubtype::FromTop);
    root->setTransitionOut(platform::ui::TransitionSubtype::FromBottom);
    root->showController(controller);
}

void HalcyonDashboard::presentModalOverlay(const platform::ui::ViewControllerPtr& controller, bool opaque)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller || Halcyon::isDisabled()) {
        return;
    }
    if (!tryCreateDashboardWithModal(controller)) {
        stateInHalcyonDashboard().queuedIsOverlay = true;
        return;
    }
    auto root = stateInHalcyonDashboard().root;
    stateInHalcyonDashboard().showingOverlay = true;
    const platform::ui::Rect dashboard = Halcyon::getDashboardBounds();
    if (opaque && !Halcyon::isLargeScreen()) {
        auto dim = platform::ui::View::make(dashboard);
        dim->setBackgroundColor(platform::ui::Color::blackColor());
        dim->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
        dim->setAutoresizesSubviews(true);
        dim->setTag(kOverlayDimViewTag);
        dim->setAlpha(0);
        root->view()->addSubview(dim);
        platform::ui::View::animate(kOverlayFadeSeconds, [dim] { dim->setAlpha(kOverlayDimAlpha); });
    } else if (auto shadow = root->bgDropShadow()) {
        shadow->removeFromSuperview();
    }
    auto view = controller->view();
    platform::ui::Rect frame = view->frame();
    frame.origin.x = (dashboard.width() - frame.width()) * 0.5;
    view->setFrame(frame);
    root->setTransitionIn(platform::ui::TransitionSubtype::FromBottom);
    root->setTransitionOut(platform::ui::TransitionSubtype::FromTop);
    root->showController(controller);
}

bool HalcyonDashboard::tryCreateDashboardWithModal(const platform::ui::ViewControllerPtr& controller)
{
    HC_CHECK_MAIN_THREAD();
    DashboardState& s = stateInHalcyonDashboard();
    if (isShowingFullScreen() || (s.root && s.dismissing)) {
        // A modal queued while one is already queued takes its place.
        s.queuedModal = controller;
        return false;
    }
    auto window = getTopApplicationWindow();
    if (!window) {
        return false;
    }
    s.dismissing = false;
    dashboardWillAppear();
    if (!s.root) {
        s.root = std::dynamic_pointer_cast<HCRootController>(HCControllerLoader::load(kRootControllerName));
        if (!s.root) {
            return false;
        }
    }
    Halcyon::transformViewToDashboardOrientation(s.root->view());
    s.root->beginAppearanceTransition(true, true);
    window->addSubview(s.root->view());
    s.root->endAppearanceTransition();
    return true;
}

// ===== Closing ====================================================================

void HalcyonDashboard::dismissRootController()
{
    HC_CHECK_MAIN_THREAD();
    if (!isShowingFullScreen()) {
        return;
    }
    DashboardState& s = stateInHalcyonDashboard();
    s.dismissing = true;
    if (s.showingOverlay) {
        if (auto dim = s.root->view()->viewWithTag(kOverlayDimViewTag)) {
            platform::ui::View::animate(kOverlayFadeSeconds, [dim] { dim->setAlpha(0); });
        }
    }
    s.root->hideController();
    dashboardWillDisappear();
}

void HalcyonDashboard::dismissRootControllerOrItsModal()
{
    HC_CHECK_MAIN_THREAD();
    if (!isShowingFullScreen()) {
        return;
    }
    if (stateInHalcyonDashboard().root->modalViewController()) {
        stateInHalcyonDashboard().root->dismissModalViewController(true);
    } else {
        dismissRootController();
    }
}

void HalcyonDashboard::animationDidStop(bool /*finished*/)
{
    HC_CHECK_MAIN_THREAD();
    DashboardState& s = stateInHalcyonDashboard();
    if (!s.dismissing) {
        dashboardDidAppear();
        return;
    }
    s.dismissing = false;
    destroyDashboard();
    if (auto queued = std::move(s.queuedModal)) {
        if (s.queuedIsOverlay) {
            presentModalOverlay(queued, true);
        } else {
            presentRootControllerWithModal(queued);
        }
    }
}

void HalcyonDashboard::destroyDashboard()
{
    HC_CHECK_MAIN_THREAD();
    DashboardState& s = stateInHalcyonDashboard();
    auto root = std::move(s.root);
    if (!root) {
        // Nothing was opened: nothing closes, and nobody hears of a closing.
        return;
    }
    if (s.opened) {
        dashboardDidDisappear();
    }
    s.opened = false;
    s.frameDelegate = nullptr;
    s.showingOverlay = false;
    root->cleanupSubviews();
    if (root->modalViewController()) {
        root->dismissModalViewController(false);
    }
    root->beginAppearanceTransition(false, false);
    root->view()->removeFromSuperview();
    root->endAppearanceTransition();
    if (!std::exchange(s.launchForNextFrame, false)) {
        Halcyon::setLaunchDelegate(nullptr);
    }
    platform::UserDefaults::standardUserDefaults()->synchronize();
    if (auto cache = HCImageCache::sharedInstance()) {
        cache->purge();
    }
}

// ===== Appearance =================================================================

void HalcyonDashboard::dashboardWillAppear()
{
    Halcyon::releaseReservedMemory();
    DashboardState& s = stateInHalcyonDashboard();
    auto application = platform::ui::Application::shared();
    s.opened = true;
    s.frameDelegate = Halcyon::getDelegate();
    s.previousOrientation = application->statusBarOrientation();
    s.previousStatusBarHidden = application->isStatusBarHidden();
    application->setStatusBarHidden(!Halcyon::isLargeScreen(), true);
    application->setStatusBarOrientation(
        static_cast<platform::ui::InterfaceOrientation>(Halcyon::getDashboardOrientation()), false);
    tellFrameDelegate([](HalcyonDelegate& d) { d.dashboardWillAppear(); });
}

void HalcyonDashboard::dashboardDidAppear()
{
    Halcyon::setDashboardVisible(true);
    Halcyon::dashboardLaunched();
    tellFrameDelegate([](HalcyonDelegate& d) { d.dashboardDidAppear(); });
}

void HalcyonDashboard::dashboardWillDisappear()
{
    DashboardState& s = stateInHalcyonDashboard();
    auto application = platform::ui::Application::shared();
    if (!Halcyon::isLargeScreen()) {
        application->setStatusBarOrientation(s.previousOrientation, true);
    }
    application->setStatusBarHidden(s.previousStatusBarHidden, true);
    tellFrameDelegate([](HalcyonDelegate& d) { d.dashboardWillDisappear(); });
}

void HalcyonDashboard::dashboardDidDisappear()
{
    Halcyon::setDashboardVisible(false);
    Halcyon::dashboardClosed();
    tellFrameDelegate([](HalcyonDelegate& d) { d.dashboardDidDisappear(); });
    Halcyon::reserveMemory();
}

void HalcyonDashboard::reloadInactiveTabBars()
{
    HC_CHECK_MAIN_THREAD();
    auto root = getRootController();
    auto tabs = root ? std::dynamic_pointer_cast<HCTabBarController>(root->contentController()) : nullptr;
    if (!tabs) {
        return;
    }
    for (const auto& item : tabs->tabBarItems()) {
        auto navigation = std::dynamic_pointer_cast<platform::ui::NavigationController>(item->viewController());
        if (!navigation || navigation == tabs->selectedViewController()) {
            continue;
        }
        navigation->popToRootViewController(false);
        if (auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(navigation->topViewController())) {
            table->reloadDataFromServer();
        }
        if (auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(navigation)) {
            framed->refreshProfile();
        }
    }
}

void HalcyonDashboard::switchToOnlineMode()
{
    HC_CHECK_MAIN_THREAD();
    auto root = getRootController();
    if (auto tabbed = root ? std::dynamic_pointer_cast<HCTabbedDashboardController>(root->contentController()) : nullptr) {
        HCTabbedDashboardController::setOnlineMode(tabbed);
        tellPagesOnlineStatus(tabbed, true);
    }
    reloadInactiveTabBars();
}

void HalcyonDashboard::switchToOfflineMode()
{
    HC_CHECK_MAIN_THREAD();
    auto root = getRootController();
    auto tabbed = root ? std::dynamic_pointer_cast<HCTabbedDashboardController>(root->contentController()) : nullptr;
    if (!tabbed) {
        return;
    }
    tabbed->showTabViewControllerNamed(kNowPlayingTab, true);
    HCTabbedDashboardController::setOfflineMode(tabbed);
    tellPagesOnlineStatus(tabbed, false);
    if (root->modalViewController()) {
        root->dismissModalViewController(true);
    }
}

// ===== Error screens ================================================================

void HalcyonDashboard::allowErrorScreens(bool allow)
{
    Halcyon::setAllowErrorScreens(allow);
}

bool HalcyonDashboard::areErrorScreensAllowed()
{
    return Halcyon::allowErrorScreens();
}

bool HalcyonDashboard::isShowingErrorScreenInNavController(
    const std::shared_ptr<platform::ui::NavigationController>& navigation)
{
    if (!Halcyon::sharedInstance()) {
        return false;
    }
    if (stateInHalcyonDashboard().errorPending) {
        return true;
    }
    if (!navigation) {
        return false;
    }
    return std::dynamic_pointer_cast<HCDeadEndErrorController>(navigation->visibleViewController()) ||
           std::dynamic_pointer_cast<HCDeadEndErrorController>(navigation->topViewController());
}

void HalcyonDashboard::displayErrorMessage(const platform::ui::ViewControllerPtr& controller,
                                           const std::shared_ptr<platform::ui::NavigationController>& navigation)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller || !navigation || !areErrorScreensAllowed() || isShowingErrorScreenInNavController(navigation)) {
        return;
    }
    stateInHalcyonDashboard().errorPending = true;
    // The push waits a moment so that a screen change in progress ends first.
    platform::Thread::mainThread()->runLoop()->postAfter(
        kErrorPushDelaySeconds,
        [controller, navigation] {
            stateInHalcyonDashboard().errorPending = false;
            navigation->pushViewController(controller, true);
        },
        &stateInHalcyonDashboard());
}

void HalcyonDashboard::displayErrorMessage(const std::string& text)
{
    HC_CHECK_MAIN_THREAD();
    if (!isShowingFullScreen()) {
        return;
    }
    auto screen = isDashboardHubOpen() && !isGameServerReachable()
                      ? HCDeadEndErrorController::deadEndErrorWithMessageAndOfflineButton(text)
                      : HCDeadEndErrorController::deadEndErrorWithMessage(text);
    displayErrorMessage(screen, getActiveNavigationController());
}

void HalcyonDashboard::displayErrorMessageAndOfflineButton(const std::string& text)
{
    HC_CHECK_MAIN_THREAD();
    if (!isShowingFullScreen()) {
        return;
    }
    displayErrorMessage(HCDeadEndErrorController::deadEndErrorWithMessageAndOfflineButton(text),
                        getActiveNavigationController());
}

std::optional<std::string> HalcyonDashboard::upgradeMessageFromReply(const std::shared_ptr<platform::Data>& reply)
{
    if (!reply) {
        return std::nullopt;
    }
    auto document = HCXmlDocument::xmlDocumentWithData(reply->bytes());
    auto message = document ? document->getElementValue("error_message") : std::nullopt;
    if (!message) {
        return std::nullopt;
    }
    // The server's text is text: only its first "%@" becomes the game's name.
    if (size_t at = message->find("%@"); at != std::string::npos) {
        message->replace(at, 2, Halcyon::applicationDisplayName());
    }
    return message;
}

void HalcyonDashboard::displayUpgradeRequiredErrorMessage(const std::shared_ptr<platform::Data>& reply)
{
    HC_CHECK_MAIN_THREAD();
    if (!isShowingFullScreen()) {
        return;
    }
    auto message = upgradeMessageFromReply(reply);
    if (!message) {
        platform::log(platform::LogLevel::Warning, "An upgrade-required reply without an error message was ignored.");
        return;
    }
    auto screen = HCDeadEndErrorController::deadEndErrorWithMessage(*message);
    screen->navigationItem()->setHidesBackButton(true);
    displayErrorMessage(screen, getActiveNavigationController());
}

void HalcyonDashboard::displayServerMaintenanceNotice(const std::shared_ptr<platform::Data>& reply)
{
    HC_CHECK_MAIN_THREAD();
    if (!isShowingFullScreen()) {
        return;
    }
    displayErrorMessage(HCServerMaintenanceNoticeController::maintenanceControllerWithHtmlData(reply),
                        getActiveNavigationController());
}

void HalcyonDashboard::_resetForTesting()
{
    platform::Thread::mainThread()->runLoop()->cancelDelayed(&stateInHalcyonDashboard());
    stateInHalcyonDashboard() = DashboardState();
}
