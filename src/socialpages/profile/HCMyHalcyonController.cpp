#include "socialpages/profile/HCMyHalcyonController.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/profiles/HCProfileService.h"
#include "socialpages/HCPageActions.h"
#include "socialpages/profile/HCProfileController.h"
#include "uiframework/HCControllerLoader.h"

namespace {

using platform::ui::Rect;

constexpr double kRowHeight = 48;
constexpr double kFirstRow = HCPlayerBanner::kHeight + 8;

int countIn(const platform::Notification& note, const char* key)
{
    auto number = note.userInfo ? platform::as<platform::Number>(note.userInfo->objectForKey(key)) : nullptr;
    return number ? static_cast<int>(number->longLongValue()) : 0;
}

int badgeValue(const HCBadgeView& badge)
{
    return std::atoi(badge.valueText().c_str());
}

}  // namespace

HCMyHalcyonController::HCMyHalcyonController()
    : banner_(HCPlayerBanner::make(320)), friendsBadge_(HCBadgeView::redBadge()), inboxBadge_(HCBadgeView::redBadge())
{
    setTitle("My Halcyon");
    friendsBadge_->setValue(static_cast<int>(Halcyon::pendingFriendsCount()));
    inboxBadge_->setValue(static_cast<int>(Halcyon::unreadInboxTotal()));
    auto& center = platform::NotificationCenter::defaultCenter();
    center.addObserver(this, HCNSNotificationPendingFriendCountChanged, [this](const platform::Notification& note) {
        friendsBadge_->setValue(countIn(note, HCNSNotificationInfoPendingFriendCount));
        updateTabBadge();
    });
    center.addObserver(this, HCNSNotificationUnreadInboxCountChanged, [this](const platform::Notification& note) {
        inboxBadge_->setValue(countIn(note, HCNSNotificationInfoUnreadInboxCount));
        updateTabBadge();
    });
}

HCMyHalcyonController::~HCMyHalcyonController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<platform::ui::View> HCMyHalcyonController::container(double y, const std::string& title,
                                                                     void (HCMyHalcyonController::*action)(),
                                                                     const std::shared_ptr<HCBadgeView>& badge)
{
    auto box = std::make_shared<platform::ui::View>(Rect(10, y, 300, kRowHeight - 6));
    auto button = platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect);
    button->setFrame(Rect(0, 0, 300, kRowHeight - 6));
    button->setTitle(title, platform::ui::ControlStateNormal);
    wirePageAction<HCMyHalcyonController>(button, this, action);
    box->addSubview(button);
    if (badge) {
        badge->setFrame(Rect(270, 4, 26, HCBadgeView::kHeight));
        box->addSubview(badge);
    }
    view()->addSubview(box);
    return box;
}

void HCMyHalcyonController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    view()->addSubview(banner_);
    std::weak_ptr<HCMyHalcyonController> weakSelf = platform::self(this);
    banner_->setTouchedAction([weakSelf] {
        if (auto page = weakSelf.lock()) page->onBannerClicked();
    });
    gamesContainer_ = container(kFirstRow, "My Games", &HCMyHalcyonController::onMyGames, nullptr);
    friendsContainer_ =
        container(kFirstRow + kRowHeight, "My Friends", &HCMyHalcyonController::onMyFriends, friendsBadge_);
    inboxContainer_ =
        container(kFirstRow + 2 * kRowHeight, "Inbox", &HCMyHalcyonController::onMessageCenter, inboxBadge_);
    settingsContainer_ = container(kFirstRow + 3 * kRowHeight, "Settings", &HCMyHalcyonController::onSettings, nullptr);
    helpContainer_ = container(kFirstRow + 4 * kRowHeight, "Help", &HCMyHalcyonController::onHelp, nullptr);
    originalSettingsFrame_ = settingsContainer_->frame();
    originalHelpFrame_ = helpContainer_->frame();
}

void HCMyHalcyonController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewWillAppear(animated);
    banner_->showUser(Halcyon::localUser());
    if (Halcyon::allowUserGeneratedContent()) {
        if (!inboxContainer_->isHidden()) return;
        inboxContainer_->setHidden(false);
        settingsContainer_->setFrame(originalSettingsFrame_);
        helpContainer_->setFrame(originalHelpFrame_);
        return;
    }
    inboxContainer_->setHidden(true);
    const double top = inboxContainer_->frame().origin.y;
    auto settings = settingsContainer_->frame();
    settings.origin.y = top;
    settingsContainer_->setFrame(settings);
    auto help = helpContainer_->frame();
    // Side by side where the screen is wide, one below the other on a handheld held upright.
    const bool wide = Halcyon::isInLandscapeMode() || Halcyon::isLargeScreen();
    help.origin.y = wide ? top : settings.origin.y + settings.size.height;
    helpContainer_->setFrame(help);
}

void HCMyHalcyonController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidAppear(animated);
    if (toldViewedOwnPage_) return;
    // Only now is the page's player known: at creation every page looks like the own one.
    toldViewedOwnPage_ = true;
    auto user = getPageContextUser();
    auto local = Halcyon::localUser();
    if (!user || (local && user->resourceId() == local->resourceId())) HCProfileService::viewedOwnProfilePage();
}

void HCMyHalcyonController::updateTabBadge()
{
    setBadgeValue(std::to_string(badgeValue(*friendsBadge_) + badgeValue(*inboxBadge_)));
}

void HCMyHalcyonController::pushPageNamed(const std::string& name, const std::string& itemTitle)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    // The loader logs a page it cannot make; such a button leads nowhere.
    auto page = HCControllerLoader::load(name);
    if (!page || !navigation) return;
    if (!itemTitle.empty()) page->navigationItem()->setTitle(itemTitle);
    navigation->pushViewController(page, true);
}

void HCMyHalcyonController::onMyGames()
{
    pushPageNamed("PlayedGame", "Halcyon Games");
}

void HCMyHalcyonController::onMyFriends()
{
    pushPageNamed("Friends");
}

void HCMyHalcyonController::onMessageCenter()
{
    pushPageNamed("InboxTopLevel");
}

void HCMyHalcyonController::onSettings()
{
    pushPageNamed("UserSetting");
}

void HCMyHalcyonController::onHelp()
{
    pushPageNamed("Help");
}

void HCMyHalcyonController::onBannerClicked()
{
    HCProfileController::showProfileForUser(Halcyon::localUser());
}
