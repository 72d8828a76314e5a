#pragma once
// One game's page ("GameProfile", on a large screen "GameProfileWithNavBar"):
// a grid of large buttons to the game's leaderboards, achievements,
// challenges, forum, fan club and who is playing it, the challenges and fan
// club buttons with badges while the page shows the running game. A game
// without leaderboards, achievements and challenges gets one column of
// full-width buttons instead. A grid button's background follows its row
// (top, middle, bottom); a full-width one has a bevel. It is the
// root of the dashboard's Now Playing tab and is pushed for any other game.
//
// A game's features come from the service; without them (a failed or empty
// reply) only the buttons that need none are shown. Offline, the grid's
// buttons to the service's pages are disabled (the wide ones stay: their
// pages say what they cannot load), and a game with nothing kept on the
// device says so with an alert whose answer closes the dashboard. A button
// whose page the loader cannot make pushes nothing. While it is the only
// page of its navigation stack the frame shows the featured-game banner
// above it.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "dashboard/HCBannerProvider.h"
#include "dashboard/HCGameContextPusher.h"
#include "dashboard/HCOnlineStatusFollower.h"
#include "uiframework/HCProfileFrame.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "uiframework/HCViewController.h"

class HCBadgeButton;
class HCButtonPanel;
class HCGameProfilePageInfo;
class HCPaginatedSeries;
class HCUser;

class HCGameProfileController final : public HCViewController,
                                      public HCProfileFrame,
                                      public HCOnlineStatusFollower,
                                      public HCGameContextPusher,
                                      public HCBannerProvider,
                                      public platform::ui::AlertViewDelegate {
public:
    static constexpr const char* kForumRulesMessage =
        "We will never ask for your password or contact information in forums or chat. Posting of profanity, "
        "hateful, or threatening material may result in account suspension or removal.";
    static constexpr const char* kNoOfflineSupportTitle = "No offline support";

    // Loads the page for the game and pushes it on the dashboard's active
    // navigation controller, in the context of `user` when another player
    // is given. Answers the page pushed, nil when none could be.
    static std::shared_ptr<HCGameProfileController> showGameProfileWithClientApplicationId(
        const std::optional<std::string>& clientApplicationId, const std::shared_ptr<HCUser>& compareToUser);
    static std::shared_ptr<HCGameProfileController> showGameProfileWithClientApplicationId(
        const std::optional<std::string>& clientApplicationId);
    static std::shared_ptr<HCGameProfileController> showGameProfileWithLocalApplication();
    // Gives a page about to be pushed what it needs to know of the game.
    static void setPushControllerData(const platform::ui::ViewControllerPtr& controller,
                                      const std::shared_ptr<HCGameProfilePageInfo>& info);
    // The forum rules are shown on the first "Discussions" press of the process.
    static void _resetForumRulesShownForTesting();

    void setClientApplicationId(std::optional<std::string> id) { clientApplicationId_ = std::move(id); }
    const std::shared_ptr<HCGameProfilePageInfo>& gameProfileInfo() const { return gameProfileInfo_; }

    void pushController(const platform::ui::ViewControllerPtr& controller);
    platform::ui::ViewControllerPtr pushControllerByName(const std::string& name);

    void pressedLeaderboards();
    void pressedAchievements();
    void pressedChallenges();
    void pressedDiscussions();
    void pressedFanClub();
    void pressedWhosPlaying();
    // Asks the player to approve the service, then goes online.
    void pressedEnableHalcyon();

    void refreshView() { _refreshView(); }
    // The dashboard tells its pages when the connection state changed.
    void setOnlineStatus(bool online) override;
    void fillPushedController(const platform::ui::ViewControllerPtr& controller,
                              const std::shared_ptr<HCGameProfilePageInfo>& info) override
    {
        setPushControllerData(controller, info);
    }
    void setOwningTabBarItem(const HCTabBarItemPtr& item) override;
    bool supportsComparison() override { return false; }
    bool isBannerAvailableNow() override;
    std::string bannerCellControllerName() override { return "FeaturedGame"; }
    // The featured-game cell finds its own placement.
    platform::ObjectPtr getBannerResource() override { return nullptr; }
    void onBannerClicked() override {}
    void profileUsersChanged(const std::shared_ptr<HCUser>& user, const std::shared_ptr<HCUser>& comparedTo) override;

    const std::shared_ptr<HCButtonPanel>& buttonPanel() const { return buttonPanel_; }
    const std::shared_ptr<HCBadgeButton>& challengesButton() const { return challengesButton_; }
    const std::shared_ptr<HCBadgeButton>& fanClubButton() const { return fanClubButton_; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    bool canReceiveCallbacksNow() const override { return true; }
    void alertViewClickedButtonAtIndex(platform::ui::AlertView& alertView, int buttonIndex) override;
    std::string kindName() const override { return "HCGameProfileController"; }
    ~HCGameProfileController() override;

private:
    void _downloadGameProfileInfo();
    void _downloadedGameProfile(std::shared_ptr<HCPaginatedSeries> reply);
    void _failedDownloadingGameProfile(std::shared_ptr<platform::Object> failure);
    void _refreshView();
    void _switchToOnlineMode(std::shared_ptr<platform::Object>);
    void _stayInOfflineMode(std::shared_ptr<platform::Object>);
    void _deniedHalcyon(std::shared_ptr<platform::Object>);
    void showGameContext();
    void refreshFrameBanner();
    bool showsRunningGame() const;
    void wireButton(const platform::ui::ButtonPtr& button, const std::string& title,
                    void (HCGameProfileController::*action)());
    platform::ui::ButtonPtr makeButton(const std::string& title, void (HCGameProfileController::*action)());
    std::shared_ptr<HCBadgeButton> makeBadgeButton(const std::string& title,
                                                   void (HCGameProfileController::*action)());
    void registerForBadgeNotifications();
    void _configureButton(const platform::ui::ButtonPtr& button, unsigned row);
    void _configureLongButton(const platform::ui::ButtonPtr& button);

    std::shared_ptr<HCButtonPanel> buttonPanel_;
    platform::ui::ButtonPtr leaderboardsButton_;
    platform::ui::ButtonPtr achievementsButton_;
    platform::ui::ButtonPtr discussionsButton_;
    platform::ui::ButtonPtr whosPlayingButton_;
    std::shared_ptr<HCBadgeButton> challengesButton_;
    std::shared_ptr<HCBadgeButton> fanClubButton_;
    platform::ui::ButtonPtr discussionsLongButton_;
    platform::ui::ButtonPtr whosPlayingLongButton_;
    std::shared_ptr<HCBadgeButton> fanClubLongButton_;
    std::optional<std::string> clientApplicationId_;
    std::shared_ptr<HCGameProfilePageInfo> gameProfileInfo_;
    std::weak_ptr<platform::ui::AlertView> offlineAlert_;
    bool wasOfflineLastRefresh_ = false;
    bool usingLongButtons_ = false;
    bool observingBadges_ = false;
};
