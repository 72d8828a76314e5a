#pragma once
// The player's own hub ("MyHalcyon", the root of the dashboard's "My
// Halcyon" tab): the frame's player banner shows the local player (a touch
// opens the own profile), and the page holds the ways to the player's
// games, friends, inbox, settings and help. The friends and inbox buttons carry the pending friends and unread
// inbox counts, and the tab's badge is their sum, following the core's
// count-changed notifications. While user-generated content is closed the
// inbox is hidden and settings and help move up into its place: one below
// the other on a handheld held upright, side by side where the screen is
// wide, where the page lays its buttons out in two columns.
//
// The service hears that the player viewed the own page when the page is
// made: it is only ever made as the root of the local player's tab.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "dashboard/HCBannerFrameLink.h"
#include "dashboard/HCBannerProvider.h"
#include "platform/ui/Button.h"
#include "platform/ui/Geometry.h"
#include "uiframework/HCViewController.h"
#include "uiframework/widgets/HCBadgeView.h"

class HCMyHalcyonController : public HCViewController, public HCBannerProvider {
public:
    HCMyHalcyonController();
    ~HCMyHalcyonController() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    // The frame's banner: the local player.
    bool isBannerAvailableNow() override { return true; }
    std::string bannerCellControllerName() override { return "PlayerBanner"; }
    platform::ObjectPtr getBannerResource() override;

    // Actions.
    void onMyGames();
    void onMyFriends();
    void onMessageCenter();
    void onSettings();
    void onHelp();
    void onBannerClicked() override;

    const std::shared_ptr<HCBadgeView>& friendsBadge() const { return friendsBadge_; }
    const std::shared_ptr<HCBadgeView>& inboxBadge() const { return inboxBadge_; }
    const std::shared_ptr<platform::ui::View>& inboxContainer() const { return inboxContainer_; }
    const std::shared_ptr<platform::ui::View>& settingsContainer() const { return settingsContainer_; }
    const std::shared_ptr<platform::ui::View>& helpContainer() const { return helpContainer_; }

    std::string kindName() const override { return "HCMyHalcyonController"; }

private:
    void updateTabBadge();
    void pushPageNamed(const std::string& name, const std::string& itemTitle = {});
    std::shared_ptr<platform::ui::View> container(const platform::ui::Rect& frame, const std::string& title,
                                                  void (HCMyHalcyonController::*action)(),
                                                  const std::shared_ptr<HCBadgeView>& badge);

    std::shared_ptr<HCBadgeView> friendsBadge_, inboxBadge_;
    std::shared_ptr<platform::ui::View> gamesContainer_, friendsContainer_, inboxContainer_, settingsContainer_,
        helpContainer_;
    platform::ui::Rect originalSettingsFrame_, originalHelpFrame_;
    HCBannerFrameLink bannerFrame_;
};
