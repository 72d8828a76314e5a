#pragma once
// The games lists ("PlayedGame"), one page class for three scopes: 0 a
// player's games (tabs "All Games" and "Favorite Games"), 1 the games the
// local player's friends play, 2 a discovery page named by the service
// (setting the name sets scope 2). A discovery reply may carry a section
// identified "banner_frame_content": it is taken out of the rows and its
// first link becomes the page's banner in the dashboard's frame.
//
// On the local player's pages (his games under either tab, his friends'
// games, the discovery pages) a row can be swiped away; the Edit switch
// stands over his All Games only, and no other page shows it, not even
// while it slides in. A swiped game is taken off his games list at the
// service; any other row only leaves the page.
//
// After the discovery category that finds friends opened the import page,
// the page reloads each time it is shown until the player taps a row.
//
// The discovery page "halcyon_five" reshuffles when the device is shaken
// or "Shuffle" is pressed (the button comes each time the page has
// appeared; the bar's right side is empty while it slides in): while it is
// on screen the page is the accelerometer's delegate (the one before it
// gets the accelerometer back when the page leaves); after a shake,
// further shakes are ignored until 1 s after the reload's loading screen
// went away.
//
// A removal the server refuses reloads the list, so the game shows again.
// A change of tab takes the other tab's rows down before its load, so a
// failed load under a tab says so instead of showing the other tab's games.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "dashboard/HCBannerProvider.h"
#include "gamepages/discovery/HCShakeHistory.h"
#include "platform/ui/Accelerometer.h"
#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCPlayedGameController : public HCTableSequenceControllerHelper,
                               public HCBannerProvider,
                               public platform::ui::AccelerometerDelegate,
                               public HCProfileFrame {
public:
    static constexpr const char* kBannerSectionIdentifier = "banner_frame_content";
    static constexpr const char* kShufflePageName = "halcyon_five";
    static constexpr double kShakeUpdateInterval = 0.1;
    static constexpr double kShakePause = 1.0;
    static constexpr const char* kLoadFailedText = "Failed to download games list";

    ~HCPlayedGameController() override;

    int32_t scope() const { return scope_; }
    void setScope(int32_t scope) { scope_ = scope; }
    const std::optional<std::string>& targetDiscoveryPageName() const { return targetDiscoveryPageName_; }
    void setTargetDiscoveryPageName(std::optional<std::string> name);
    const platform::ObjectPtr& headerBannerResource() const { return headerBannerResource_; }
    bool inFavoriteTab() const { return inFavoriteTab_; }

    void onAllGamesSelected();
    void onFavoriteGamesSelected();
    void halcyonFiveShuffle();

    // --- table hooks ----------------------------------------------------------
    std::shared_ptr<HCService> getService() override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::optional<std::string> getTableHeaderControllerName() override;
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    std::optional<std::string> getLeadingCellControllerNameForSection(int section) override;
    void onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr& cell, int section) override;
    bool usePlainTableSectionHeaders() override { return true; }
    bool allowEditing() override;
    bool shouldConfirmResourceDeletion() override { return true; }
    std::string getResourceDeleteConfirmText() override { return "OK"; }
    std::string getResourceDeleteCancelText() override { return "Cancel"; }
    std::string getResourceDeletePromptText(const platform::ObjectPtr& resource) override;
    void onResourceWasDeleted(const platform::ObjectPtr& resource) override;
    std::string getNoDataFoundMessage() override;
    std::string getLoadFailedMessage() override { return kLoadFailedText; }
    void onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void hideLoadingScreen() override;

    // --- banner, accelerometer, profile frame -----------------------------------
    bool isBannerAvailableNow() override { return headerBannerResource_ != nullptr; }
    std::string bannerCellControllerName() override { return "GameDiscoveryImageHyperlink"; }
    platform::ObjectPtr getBannerResource() override { return headerBannerResource_; }
    void onBannerClicked() override;
    void accelerometerDidAccelerate(platform::ui::Accelerometer& accelerometer,
                                    const platform::ui::Acceleration& acceleration) override;
    bool supportsComparison() override { return false; }
    void profileUsersChanged(const std::shared_ptr<HCUser>& user, const std::shared_ptr<HCUser>& comparedToUser) override;

    // --- controller -------------------------------------------------------------
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    std::string kindName() const override { return "HCPlayedGameController"; }

private:
    bool isLocalUsersPage() const;
    bool showsEditSwitch() const;
    bool isShufflePage() const { return targetDiscoveryPageName_ == kShufflePageName; }
    void onRemovalFailed(std::shared_ptr<platform::Object> failure);
    void showEditButtonIfEditable();
    void refreshFrameBanner();
    // Gives the accelerometer back its pace and delegate of before.
    void stopWatchingShakes();

    int32_t scope_ = 0;
    std::optional<std::string> targetDiscoveryPageName_;
    platform::ObjectPtr headerBannerResource_;
    bool inFavoriteTab_ = false;
    bool reloadWhenShownNext_ = false;
    double defaultUpdateInterval_ = platform::ui::Accelerometer::kDefaultUpdateInterval;
    std::shared_ptr<platform::ui::AccelerometerDelegate> defaultDelegate_;
    bool watchingShakes_ = false;
    bool enableShake_ = false;
    HCShakeHistory shakeHistory_;
};
