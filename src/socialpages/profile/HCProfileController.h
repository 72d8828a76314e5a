#pragma once
// One player's profile ("Profile"): how many friends and games the player
// has (each a way to the list), a button to follow or stop following, the
// way to report the player, and, on the local player's own profile, a touch
// on the banner's picture for the picture page. The profile is asked once;
// after a failed load the next appearance asks again.
//
// Every page opens a profile through showProfileForUser, which pushes it in
// the context of the shown player (the page's context user is that player).
//
// Replies reach the page even after it left the stack, so a follow that the
// service confirmed is never lost from the shown player.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/profile/HCPlayerBanner.h"
#include "uiframework/HCViewController.h"
#include "uiframework/widgets/HCDefaultButton.h"

class HCProfileController : public HCViewController {
public:
    // Pushes the player's profile on the dashboard's active navigation
    // controller; nothing when there is none or the profile is already on top.
    static void showProfileForUser(const std::shared_ptr<HCUser>& user);
    // A new profile page titled with the player's name; nil when the
    // visible page is already this player's profile.
    static std::shared_ptr<HCProfileController> getProfileControllerForUser(
        const std::shared_ptr<HCUser>& user, const std::shared_ptr<platform::ui::NavigationController>& navigation);

    HCProfileController();

    bool canReceiveCallbacksNow() const override { return true; }
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    // Actions.
    void onToggleFollowing();
    void onFlag();
    void onGamesClicked();
    void onFriendsClicked();
    void bannerProfilePictureTouched();

    // Replies.
    void _profileDownloadSucceeded(std::shared_ptr<HCPaginatedSeries> series);
    void _profileDownloadFailed(std::shared_ptr<platform::Object> failure);
    void onFollowChangedState(std::shared_ptr<platform::Object> reply);
    void onFollowFailedChangingState(std::shared_ptr<platform::Object> failure);

    const std::shared_ptr<platform::ui::Label>& friendsSubtextLabel() const { return friendsSubtextLabel_; }
    const std::shared_ptr<platform::ui::Label>& gamesSubtextLabel() const { return gamesSubtextLabel_; }
    const std::shared_ptr<HCDefaultButton>& toggleFriendButton() const { return toggleFriendButton_; }
    const std::shared_ptr<platform::ui::View>& actionPanelView() const { return actionPanelView_; }
    const std::shared_ptr<HCPlayerBanner>& banner() const { return banner_; }

    std::string kindName() const override { return "HCProfileController"; }

private:
    void _updateFriendButtonState(bool following);
    // Pushes `page` in this profile's player context.
    void pushForPlayer(const platform::ui::ViewControllerPtr& page);

    std::shared_ptr<HCPaginatedSeriesHeader> friendsInfo_, gamesInfo_;
    std::shared_ptr<HCPlayerBanner> banner_;
    std::shared_ptr<platform::ui::Label> friendsSubtextLabel_, gamesSubtextLabel_;
    std::shared_ptr<platform::ui::Button> friendsButton_, gamesButton_, flagButton_;
    std::shared_ptr<platform::ui::View> actionPanelView_;
    std::shared_ptr<HCDefaultButton> toggleFriendButton_;
};
