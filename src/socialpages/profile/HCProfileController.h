#pragma once
// One player's profile ("Profile"): how many friends and games the player
// has (each a way to the list), a button to follow or stop following, one
// to start an instant-message conversation, the way to report the player
// (with the forum post the profile was opened from, when it was), and, on
// the local player's own profile, a touch on the banner's picture for the
// picture page. The profile is asked once;
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
#include "dashboard/HCBannerFrameLink.h"
#include "dashboard/HCBannerProvider.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "social/forums/HCForumPost.h"
#include "uiframework/HCViewController.h"
#include "uiframework/widgets/HCDefaultButton.h"

class HCProfileController : public HCViewController, public HCBannerProvider {
public:
    // Pushes the player's profile on the dashboard's active navigation
    // controller; nothing when there is none or the profile is already on top.
    static void showProfileForUser(const std::shared_ptr<HCUser>& user);
    // A new profile page titled with the player's name; nil when the
    // visible page is already this player's profile.
    static std::shared_ptr<HCProfileController> getProfileControllerForUser(
        const std::shared_ptr<HCUser>& user, const std::shared_ptr<platform::ui::NavigationController>& navigation);

    // Pushes `page` (animated) in the context of `user` when the navigation
    // controller is the dashboard's framed one, else plainly.
    static void pushInContextOfUser(const std::shared_ptr<platform::ui::NavigationController>& navigation,
                                    const platform::ui::ViewControllerPtr& page, const std::shared_ptr<HCUser>& user);
    // Asks the service for the player with that id and shows the profile;
    // an alert when the player cannot be loaded.
    static void showProfileForUserId(const std::optional<std::string>& userId);
    // The profile of the series' first player; the alert when it holds none.
    static void showProfileForPaginatedSeries(const std::shared_ptr<HCPaginatedSeries>& series);
    static void failedToLoadUser();
    static constexpr const char* kFailedToLoadUserTitle = "Failed to Load User";
    static constexpr const char* kFailedToLoadUserMessage = "We encountered an error finding that user.  Please try again later.";
    static constexpr const char* kConversationErrorMessage = "An error occurred. Please try again later.";

    HCProfileController();

    // Set by the forum discussion page before it pushes the author's profile:
    // a report from here then names the post and goes through that page.
    const std::shared_ptr<HCForumPost>& reportUserForumPost() const { return reportUserForumPost_; }
    void setReportUserForumPost(std::shared_ptr<HCForumPost> post) { reportUserForumPost_ = std::move(post); }
    const platform::ui::ViewControllerPtr& forumThreadView() const { return forumThreadView_; }
    void setForumThreadView(platform::ui::ViewControllerPtr page) { forumThreadView_ = std::move(page); }

    bool canReceiveCallbacksNow() const override { return true; }
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    // The frame's banner: the page's player; a touch on it does nothing but
    // on the picture (bannerProfilePictureTouched).
    bool isBannerAvailableNow() override { return true; }
    std::string bannerCellControllerName() override { return "PlayerBanner"; }
    platform::ObjectPtr getBannerResource() override { return getPageContextUser(); }
    void onBannerClicked() override {}

    // Actions.
    void onToggleFollowing();
    void onInstantMessage();
    void onFlag();
    void onGamesClicked();
    void onFriendsClicked();
    void bannerProfilePictureTouched() override;

    // Replies.
    void _profileDownloadSucceeded(std::shared_ptr<HCPaginatedSeries> series);
    void _profileDownloadFailed(std::shared_ptr<platform::Object> failure);
    void onFollowChangedState(std::shared_ptr<platform::Object> reply);
    void onFollowFailedChangingState(std::shared_ptr<platform::Object> failure);
    void _conversationStarted(std::shared_ptr<HCPaginatedSeries> series);

    const std::shared_ptr<platform::ui::Label>& friendsSubtextLabel() const { return friendsSubtextLabel_; }
    const std::shared_ptr<platform::ui::Label>& gamesSubtextLabel() const { return gamesSubtextLabel_; }
    const std::shared_ptr<HCDefaultButton>& toggleFriendButton() const { return toggleFriendButton_; }
    const std::shared_ptr<platform::ui::View>& actionPanelView() const { return actionPanelView_; }
    const std::shared_ptr<platform::ui::Button>& imButton() const { return imButton_; }

    std::string kindName() const override { return "HCProfileController"; }

private:
    // This page, for the delegates of its requests: a request the provider
    // drops unanswered ends in the request's failure handler.
    std::shared_ptr<HCProfileController> me();
    void _updateFriendButtonState(bool following);
    // Pushes `page` in this profile's player context.
    void pushForPlayer(const platform::ui::ViewControllerPtr& page);

    std::shared_ptr<HCPaginatedSeriesHeader> friendsInfo_, gamesInfo_;
    std::shared_ptr<platform::ui::Label> friendsSubtextLabel_, gamesSubtextLabel_;
    std::shared_ptr<platform::ui::Button> friendsButton_, gamesButton_, flagButton_, imButton_;
    std::shared_ptr<platform::ui::View> actionPanelView_;
    std::shared_ptr<HCDefaultButton> toggleFriendButton_;
    std::shared_ptr<HCForumPost> reportUserForumPost_;
    platform::ui::ViewControllerPtr forumThreadView_;
    HCBannerFrameLink bannerFrame_;
};
