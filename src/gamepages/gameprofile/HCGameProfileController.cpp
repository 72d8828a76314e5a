#include "gamepages/gameprofile/HCGameProfileController.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/images/HCImageLoader.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/HCGameScopedPage.h"
#include "gamepages/achievements/HCAchievementListController.h"
#include "gamepages/challenges/HCChallengeListController.h"
#include "gamepages/leaderboards/HCLeaderboardController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/NavigationController.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "social/announcements/HCAnnouncementService.h"
#include "social/applications/HCClientApplicationService.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/widgets/HCBadgeButton.h"
#include "uiframework/widgets/HCButtonPanel.h"

namespace {

constexpr unsigned kMaxButtons = 6;
constexpr unsigned kLongButtons = 3;
bool forumRulesShown = false;

platform::ui::Size buttonSizeForMaxButtons(unsigned maxButtons)
{
    if (maxButtons <= 3) {
        if (Halcyon::isLargeScreen()) return {628, 99};
        return Halcyon::isInLandscapeMode() ? platform::ui::Size{468, 65} : platform::ui::Size{308, 65};
    }
    if (Halcyon::isLargeScreen()) return {210, 149};
    return Halcyon::isInLandscapeMode() ? platform::ui::Size{156, 97} : platform::ui::Size{154, 118};
}

// "<base>.png" for the normal state, "<base>Hit.png" for the highlighted one;
// a picture the bundle lacks leaves that state without one.
void setStretchableBackgrounds(platform::ui::Button& button, const std::string& base, int leftCap, int topCap)
{
    const std::pair<const char*, unsigned> states[] = {{".png", platform::ui::ControlStateNormal},
                                                       {"Hit.png", platform::ui::ControlStateHighlighted}};
    for (const auto& [suffix, state] : states) {
        auto image = HCImageLoader::loadImage(base + suffix);
        button.setBackgroundImage(image ? image->stretchableImage(leftCap, topCap) : nullptr, state);
    }
}

unsigned countIn(const platform::Notification& note, const char* key)
{
    auto number = note.userInfo ? platform::as<platform::Number>(note.userInfo->objectForKey(key)) : nullptr;
    return number && number->longLongValue() > 0 ? static_cast<unsigned>(number->longLongValue()) : 0;
}

}  // namespace

HCGameProfileController::~HCGameProfileController()
{
    if (observingBadges_) platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void HCGameProfileController::_resetForumRulesShownForTesting()
{
    forumRulesShown = false;
}

std::shared_ptr<HCGameProfileController> HCGameProfileController::showGameProfileWithClientApplicationId(
    const std::optional<std::string>& clientApplicationId, const std::shared_ptr<HCUser>& compareToUser)
{
    HC_CHECK_MAIN_THREAD();
    const bool large = Halcyon::isLargeScreen();
    auto page = HCControllerLoader::load<HCGameProfileController>(large ? "GameProfileWithNavBar" : "GameProfile");
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    if (!page || !navigation) return nullptr;
    page->view();
    if (large) page->buttonPanel()->setWithNavBar(true);
    page->setClientApplicationId(clientApplicationId);
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(navigation);
    const bool otherPlayer = compareToUser && compareToUser->resourceId() != Halcyon::lastLoggedInUserId();
    if (framed && otherPlayer) {
        framed->pushViewControllerInContextOfLocalUserComparedTo(page, true, compareToUser);
    } else {
        navigation->pushViewController(page, true);
    }
    return page;
}

std::shared_ptr<HCGameProfileController> HCGameProfileController::showGameProfileWithClientApplicationId(
    const std::optional<std::string>& clientApplicationId)
{
    return showGameProfileWithClientApplicationId(clientApplicationId, nullptr);
}

std::shared_ptr<HCGameProfileController> HCGameProfileController::showGameProfileWithLocalApplication()
{
    return showGameProfileWithClientApplicationId(Halcyon::clientApplicationId());
}

void HCGameProfileController::setPushControllerData(const platform::ui::ViewControllerPtr& controller,
                                                    const std::shared_ptr<HCGameProfilePageInfo>& info)
{
    if (auto boards = std::dynamic_pointer_cast<HCLeaderboardController>(controller)) {
        boards->setGameProfileInfo(info);
    } else if (auto achievements = std::dynamic_pointer_cast<HCAchievementListController>(controller)) {
        if (!info) return;
        achievements->setApplicationName(info->name());
        achievements->setApplicationId(info->resourceId());
        achievements->setApplicationIconUrl(info->iconUrl());
        achievements->setDoesUserHaveApplication(info->ownedByLocalPlayer());
    } else if (auto challenges = std::dynamic_pointer_cast<HCChallengeListController>(controller)) {
        challenges->setClientApplicationId(info ? info->resourceId() : std::nullopt);
        challenges->setListType(HCChallengeListController::kPending);
    } else if (auto scoped = std::dynamic_pointer_cast<HCGameScopedPage>(controller); scoped && info) {
        scoped->setApplicationName(info->name());
        scoped->setApplicationId(info->resourceId());
        scoped->setApplicationIconUrl(info->iconUrl());
    }
}

void HCGameProfileController::pushController(const platform::ui::ViewControllerPtr& controller)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    if (!controller || !navigation) return;
    setPushControllerData(controller, gameProfileInfo_);
    navigation->pushViewController(controller, true);
}

platform::ui::ViewControllerPtr HCGameProfileController::pushControllerByName(const std::string& name)
{
    // The loader logs a page it cannot make; such a button leads nowhere.
    auto controller = HCControllerLoader::load(name);
    pushController(controller);
    return controller;
}

void HCGameProfileController::pressedLeaderboards()
{
    pushControllerByName("Leaderboard");
}

void HCGameProfileController::pressedAchievements()
{
    auto pushed = std::dynamic_pointer_cast<HCAchievementListController>(pushControllerByName("AchievementList"));
    if (pushed) pushed->postPushAchievementListController();
}

void HCGameProfileController::pressedChallenges()
{
    pushControllerByName("ChallengeList");
}

void HCGameProfileController::pressedDiscussions()
{
    if (!forumRulesShown) {
        forumRulesShown = true;
        platform::ui::AlertView::make(std::string(), kForumRulesMessage, {}, std::string("Ok"))->show();
    }
    pushControllerByName("ForumTopicList");
}

void HCGameProfileController::pressedFanClub()
{
    pushControllerByName("FanClub");
}

void HCGameProfileController::pressedWhosPlaying()
{
    pushControllerByName("WhosPlaying");
}

void HCGameProfileController::pressedEnableHalcyon()
{
    HC_CHECK_MAIN_THREAD();
    // An approved player is past the question: the modal would never answer
    // and the loading screen would stay up.
    if (Halcyon::hasUserApprovedHalcyon()) return;
    showLoadingScreen();
    auto self = std::static_pointer_cast<HCGameProfileController>(platform::self(this));
    Halcyon::addBootstrapDelegates(HCDelegate(self, &HCGameProfileController::_switchToOnlineMode),
                                   HCDelegate(self, &HCGameProfileController::_stayInOfflineMode));
    Halcyon::presentUserHalcyonApprovalModal(HCDelegate(),
                                             HCDelegate(self, &HCGameProfileController::_deniedHalcyon));
}

void HCGameProfileController::_switchToOnlineMode(std::shared_ptr<platform::Object>)
{
    Halcyon::switchToOnlineDashboard();
    _downloadGameProfileInfo();
}

void HCGameProfileController::_stayInOfflineMode(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
    _refreshView();
}

void HCGameProfileController::_deniedHalcyon(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
}

void HCGameProfileController::setOnlineStatus(bool)
{
    HC_CHECK_MAIN_THREAD();
    showGameContext();
    _refreshView();
}

void HCGameProfileController::setOwningTabBarItem(const HCTabBarItemPtr& item)
{
    HCViewController::setOwningTabBarItem(item);
    setTitle(Halcyon::applicationShortDisplayName());
    registerForBadgeNotifications();
}

void HCGameProfileController::profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&)
{
    _downloadGameProfileInfo();
}

void HCGameProfileController::registerForBadgeNotifications()
{
    if (observingBadges_) return;
    observingBadges_ = true;
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, HCNSNotificationUnviewedChallengeCountChanged, [this](const platform::Notification& note) {
        if (!gameProfileInfo_ || !gameProfileInfo_->hasChallenges()) return;
        const unsigned count = countIn(note, HCNSNotificationInfoUnviewedChallengeCount);
        challengesButton_->setBadgeNumber(count);
        // A game with challenges is drawn as a grid.
        setBadgeValue(std::to_string(count + fanClubButton_->badgeNumber()));
    });
    center.addObserver(this, HCNSNotificationUnreadAnnouncementCountChanged, [this](const platform::Notification& note) {
        const unsigned count = countIn(note, HCNSNotificationInfoUnreadAnnouncementCount);
        (usingLongButtons_ ? fanClubLongButton_ : fanClubButton_)->setBadgeNumber(count);
        setBadgeValue(std::to_string(challengesButton_->badgeNumber() + count));
    });
}

void HCGameProfileController::wireButton(const platform::ui::ButtonPtr& button, const std::string& title,
                                         void (HCGameProfileController::*action)())
{
    button->setTitle(title, platform::ui::ControlStateNormal);
    std::weak_ptr<HCGameProfileController> weakSelf =
        std::static_pointer_cast<HCGameProfileController>(platform::self(this));
    button->addTarget(this, [weakSelf, action](platform::ui::Control&) {
        if (auto page = weakSelf.lock()) ((*page).*action)();
    }, platform::ui::ControlEventTouchUpInside);
}

platform::ui::ButtonPtr HCGameProfileController::makeButton(const std::string& title,
                                                          void (HCGameProfileController::*action)())
{
    auto button = platform::ui::Button::buttonWithType(platform::ui::ButtonType::Custom);
    wireButton(button, title, action);
    return button;
}

std::shared_ptr<HCBadgeButton> HCGameProfileController::makeBadgeButton(const std::string& title,
                                                                        void (HCGameProfileController::*action)())
{
    auto button = HCBadgeButton::make();
    wireButton(button, title, action);
    return button;
}

void HCGameProfileController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    buttonPanel_ = std::make_shared<HCButtonPanel>(view()->bounds());
    buttonPanel_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    view()->addSubview(buttonPanel_);
    buttonPanel_->configureMaxButtonCount(kMaxButtons, buttonSizeForMaxButtons(kMaxButtons), 0, nullptr);
    leaderboardsButton_ = makeButton("Leaderboards", &HCGameProfileController::pressedLeaderboards);
    achievementsButton_ = makeButton("Achievements", &HCGameProfileController::pressedAchievements);
    challengesButton_ = makeBadgeButton("Challenges", &HCGameProfileController::pressedChallenges);
    discussionsButton_ = makeButton("Discussions", &HCGameProfileController::pressedDiscussions);
    fanClubButton_ = makeBadgeButton("Fan Club", &HCGameProfileController::pressedFanClub);
    whosPlayingButton_ = makeButton("Who's Playing", &HCGameProfileController::pressedWhosPlaying);
    discussionsLongButton_ = makeButton("Discussions", &HCGameProfileController::pressedDiscussions);
    fanClubLongButton_ = makeBadgeButton("Fan Club", &HCGameProfileController::pressedFanClub);
    whosPlayingLongButton_ = makeButton("Who's Playing", &HCGameProfileController::pressedWhosPlaying);
}

void HCGameProfileController::viewWillAppear(bool animated)
{
    _refreshView();
    HCViewController::viewWillAppear(animated);
}

void HCGameProfileController::viewDidAppear(bool animated)
{
    if (!gameProfileInfo_) _downloadGameProfileInfo();
    const bool online = Halcyon::isOnline();
    if (online == wasOfflineLastRefresh_) {
        platform::Thread::mainThread()->runLoop()->postAfter(0, [online] {
            if (online) {
                Halcyon::switchToOnlineDashboard();
            } else {
                Halcyon::switchToOfflineDashboard();
            }
        });
    }
    HCViewController::viewDidAppear(animated);
    refreshFrameBanner();
}

void HCGameProfileController::viewDidDisappear(bool animated)
{
    HCViewController::viewDidDisappear(animated);
    // The page now on top decides what banner the frame shows.
    refreshFrameBanner();
}

bool HCGameProfileController::isBannerAvailableNow()
{
    auto navigation = navigationController();
    if (!navigation) return false;
    const auto& stack = navigation->viewControllers();
    return stack.size() == 1 && stack.front().get() == this;
}

void HCGameProfileController::refreshFrameBanner()
{
    if (auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(navigationController()))
        framed->refreshBanner();
}

void HCGameProfileController::_downloadGameProfileInfo()
{
    HC_CHECK_MAIN_THREAD();
    if (clientApplicationId_ && !clientApplicationId_->empty() && clientApplicationId_ != Halcyon::clientApplicationId()) {
        showLoadingScreen();
    }
    auto [downloaded, failed] = pageRequestDelegates<HCGameProfileController>(
        std::static_pointer_cast<HCGameProfileController>(platform::self(this)),
        [](auto& page, const auto& reply) { page._downloadedGameProfile(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& page, const auto& failure) { page._failedDownloadingGameProfile(failure); });
    HCClientApplicationService::getGameProfilePageInfo(clientApplicationId_, downloaded, failed);
}

void HCGameProfileController::_downloadedGameProfile(std::shared_ptr<HCPaginatedSeries> reply)
{
    HC_CHECK_MAIN_THREAD();
    auto info = reply && reply->count() > 0 ? platform::as<HCGameProfilePageInfo>(reply->objectAtIndex(0)) : nullptr;
    // A reply without the game's info tells nothing of it: a failure.
    if (!info) {
        _failedDownloadingGameProfile(nullptr);
        return;
    }
    hideLoadingScreen();
    gameProfileInfo_ = info;
    showGameContext();
    _refreshView();
}

void HCGameProfileController::_failedDownloadingGameProfile(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    gameProfileInfo_ = nullptr;
    _refreshView();
}

void HCGameProfileController::showGameContext()
{
    if (auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(navigationController())) {
        framed->changeGameContext(gameProfileInfo_);
    }
    if (gameProfileInfo_ && gameProfileInfo_->shortName() && !gameProfileInfo_->shortName()->empty()) {
        setTitle(*gameProfileInfo_->shortName());
    }
}

bool HCGameProfileController::showsRunningGame() const
{
    return gameProfileInfo_ && gameProfileInfo_->resourceId() == Halcyon::localGameProfileInfo()->resourceId();
}

void HCGameProfileController::_refreshView()
{
    HC_CHECK_MAIN_THREAD();
    if (!isViewLoaded()) return;
    wasOfflineLastRefresh_ = false;
    const platform::ui::ButtonPtr all[] = {leaderboardsButton_,    achievementsButton_,    challengesButton_,
                                           discussionsButton_,     fanClubButton_,         whosPlayingButton_,
                                           discussionsLongButton_, fanClubLongButton_,     whosPlayingLongButton_};
    for (const auto& button : all) button->setHidden(true);
    buttonPanel_->removeAllButtons();
    buttonPanel_->setHeaderView(nullptr);

    const bool leaderboards = gameProfileInfo_ && gameProfileInfo_->hasLeaderboards();
    const bool achievements = gameProfileInfo_ && gameProfileInfo_->hasAchievements();
    const bool challenges = gameProfileInfo_ && gameProfileInfo_->hasChallenges();
    const bool discussions = Halcyon::allowUserGeneratedContent();
    // A game with none of its own lists has at most three buttons: one column of wide ones.
    usingLongButtons_ = !leaderboards && !achievements && !challenges;

    unsigned position = 0;
    auto place = [&](const platform::ui::ButtonPtr& button, bool shown) {
        if (!shown) return;
        button->setHidden(false);
        if (usingLongButtons_) {
            _configureLongButton(button);
        } else {
            _configureButton(button, position / buttonPanel_->numColumns());
        }
        buttonPanel_->setButton(button, position++);
    };
    const unsigned unreadAnnouncements = HCAnnouncementService::unreadAnnouncements();
    if (usingLongButtons_) {
        buttonPanel_->configureMaxButtonCount(kLongButtons, buttonSizeForMaxButtons(kLongButtons), 0, nullptr);
        buttonPanel_->setFixedNumColumns(1);
        buttonPanel_->setCenteredVertically(false);
        place(discussionsLongButton_, discussions);
        place(fanClubLongButton_, true);
        place(whosPlayingLongButton_, true);
        if (showsRunningGame()) fanClubLongButton_->setBadgeNumber(unreadAnnouncements);
    } else {
        buttonPanel_->configureMaxButtonCount(kMaxButtons, buttonSizeForMaxButtons(kMaxButtons), 0, nullptr);
        buttonPanel_->setFixedNumColumns(Halcyon::isInLandscapeMode() ? 3 : 2);
        buttonPanel_->setCenteredVertically(true);
        place(leaderboardsButton_, leaderboards);
        place(achievementsButton_, achievements);
        place(challengesButton_, challenges);
        place(discussionsButton_, discussions);
        place(fanClubButton_, true);
        place(whosPlayingButton_, true);
        if (showsRunningGame()) {
            challengesButton_->setBadgeNumber(static_cast<unsigned>(std::max(0L, Halcyon::unviewedChallengesCount())));
            fanClubButton_->setBadgeNumber(unreadAnnouncements);
        }
    }

    if (Halcyon::isOnline()) return;
    // Only the grid's: the wide buttons of a game without lists of its own
    // stay, and their pages say for themselves what they cannot load.
    for (const platform::ui::ButtonPtr& button :
         {platform::ui::ButtonPtr(challengesButton_), discussionsButton_, whosPlayingButton_,
          platform::ui::ButtonPtr(fanClubButton_)}) {
        buttonPanel_->disableButton(button, nullptr);
    }
    const bool localAchievements = HCAchievementService::hasAchievements();
    const bool localLeaderboards = HCLeaderboardService::hasLeaderboards();
    if (!localAchievements) buttonPanel_->disableButton(achievementsButton_, nullptr);
    if (!localLeaderboards) buttonPanel_->disableButton(leaderboardsButton_, nullptr);
    wasOfflineLastRefresh_ = true;
    if (!localAchievements && !localLeaderboards && !offlineAlert_.lock()) {
        const std::string game = gameProfileInfo_ ? gameProfileInfo_->shortName().value_or("") : std::string();
        // The page answers it: there is nothing to do here offline.
        auto alert = platform::ui::AlertView::make(
            kNoOfflineSupportTitle, "No offline functionality has been enabled for " + game,
            std::dynamic_pointer_cast<platform::ui::AlertViewDelegate>(platform::self(this)), std::string("OK"));
        offlineAlert_ = alert;
        alert->show();
    }
}

void HCGameProfileController::_configureButton(const platform::ui::ButtonPtr& button, unsigned row)
{
    const char* part = row == 0 ? "Top" : row == 1 && !Halcyon::isInLandscapeMode() ? "Middle" : "Bottom";
    setStretchableBackgrounds(*button, std::string("HCGameProfileButton") + part, 1, 1);
}

void HCGameProfileController::_configureLongButton(const platform::ui::ButtonPtr& button)
{
    setStretchableBackgrounds(*button, "HCButtonBevel", 0, 1);
}

void HCGameProfileController::alertViewClickedButtonAtIndex(platform::ui::AlertView&, int)
{
    Halcyon::dismissDashboard();
}
