#include "socialpages/profile/HCMyHalcyonController.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "dashboard/HCPlayerBannerCell.h"
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
// Below the frame's player banner.
constexpr double kFirstRow = HCPlayerBannerCell::kHeight + 8;
constexpr double kMargin = 10;
// Upright on a handheld: one column of five rows.
constexpr double kColumnWidth = 300;
// Wide: two columns, three rows, within the 480 points of a handheld held sideways.
constexpr double kWideColumnWidth = 225;
constexpr double kWideRightColumn = kMargin + kWideColumnWidth + kMargin;

// Landscape, or a large screen, which always counts as landscape.
bool isWide()
{
    return Halcyon::isInLandscapeMode() || Halcyon::isLargeScreen();
}

Rect rowFrame(int row, double x, double width)
{
    return Rect(x, kFirstRow + row * kRowHeight, width, kRowHeight - 6);
}

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
    : friendsBadge_(HCBadgeView::redBadge()), inboxBadge_(HCBadgeView::redBadge())
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
    HCProfileService::viewedOwnProfilePage();
}

HCMyHalcyonController::~HCMyHalcyonController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<platform::ui::View> HCMyHalcyonController::container(const Rect& frame, const std::string& title,
                                                                     void (HCMyHalcyonController::*action)(),
                                                                     const std::shared_ptr<HCBadgeView>& badge)
{
    auto box = std::make_shared<platform::ui::View>(frame);
    auto button = platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect);
    button->setFrame(Rect(0, 0, frame.width(), frame.height()));
    button->setTitle(title, platform::ui::ControlStateNormal);
    wirePageAction<HCMyHalcyonController>(button, this, action);
    box->addSubview(button);
    if (badge) {
        badge->setFrame(Rect(frame.width() - 30, 4, 26, HCBadgeView::kHeight));
        box->addSubview(badge);
    }
    view()->addSubview(box);
    return box;
}

void HCMyHalcyonController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    // Wide, settings and help share the row below the inbox, so that with the
    // inbox hidden (viewWillAppear) both rise into its row side by side; in one
    // column help would land on settings and take its taps. The dashboard is
    // made for each launch and a handheld's keeps its orientation while open,
    // so the arrangement chosen here holds for the page's life.
    const bool wide = isWide();
    // A button's row and column wide, and its row in the one upright column.
    auto place = [wide](int wideRow, bool rightColumn, int uprightRow) {
        if (!wide) return rowFrame(uprightRow, kMargin, kColumnWidth);
        return rowFrame(wideRow, rightColumn ? kWideRightColumn : kMargin, kWideColumnWidth);
    };
    gamesContainer_ = container(place(0, false, 0), "My Games", &HCMyHalcyonController::onMyGames, nullptr);
    friendsContainer_ = container(place(0, true, 1), "My Friends", &HCMyHalcyonController::onMyFriends, friendsBadge_);
    inboxContainer_ = container(place(1, false, 2), "Inbox", &HCMyHalcyonController::onMessageCenter, inboxBadge_);
    settingsContainer_ = container(place(2, false, 3), "Settings", &HCMyHalcyonController::onSettings, nullptr);
    helpContainer_ = container(place(2, true, 4), "Help", &HCMyHalcyonController::onHelp, nullptr);
    originalSettingsFrame_ = settingsContainer_->frame();
    originalHelpFrame_ = helpContainer_->frame();
}

void HCMyHalcyonController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewWillAppear(animated);
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
    help.origin.y = isWide() ? top : settings.origin.y + settings.size.height;
    helpContainer_->setFrame(help);
}

void HCMyHalcyonController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidAppear(animated);
    bannerFrame_.pageAppeared(*this);
}

void HCMyHalcyonController::viewDidDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidDisappear(animated);
    bannerFrame_.pageDisappeared();
}

platform::ObjectPtr HCMyHalcyonController::getBannerResource()
{
    return Halcyon::localUser();
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
