#pragma once
// A player's friends ("Friends"): the players the page's player follows
// ("Friends" tab, one alphabetical list) and, for the local player, the
// pending requests ("Pending" tab: followers not followed back, in pages).
// The page's player is its context player (the local player when none).
//
// On the local player's lists rows can be deleted: on "Friends" the player
// stops following, on "Pending" the request is removed; the pending friends
// count follows, never below 0, once the service confirms, even when the
// player has left the page by then. The local player's empty "Friends" list
// shows the import page instead. Friend notifications mark the page for one
// reload on its next appearance; a presence change while shown reloads it.
// A change of tab takes the other tab's rows down before its load, so a
// failed load under a tab says so instead of showing the other tab's players.
//
// Thread: main thread.
#include <memory>

#include "core/users/HCUser.h"
#include "socialpages/friends/HCFriendsHeaderController.h"
#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCFriendsController : public HCTableSequenceControllerHelper, public HCProfileFrame {
public:
    enum Tab : int { kFriendsTab = 0, kPendingTab = 1 };

    HCFriendsController();
    ~HCFriendsController() override;

    std::shared_ptr<HCService> getService() override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::optional<std::string> getTableHeaderControllerName() override;
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    std::string getNoDataFoundMessage() override;
    bool allowPagination() override { return curTabType_ == kPendingTab; }
    bool usePlainTableSectionHeaders() override { return true; }
    // "PlainTableSectionHeader" with the section's title.
    platform::ui::ViewPtr createPlainTableSectionHeader(int section) override;
    bool shouldConfirmResourceDeletion() override { return false; }
    bool allowEditing() override { return isForLocalUser(); }
    bool shouldAlwaysRefreshWhenShown() override { return alwaysRefresh_; }
    platform::ui::ViewControllerPtr getNoDataFoundViewController() override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override;
    void onResourceWasDeleted(const platform::ObjectPtr& resource) override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    bool supportsComparison() override { return false; }
    void profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&) override
    {
        reloadDataFromServer();
    }

    // Tab and bar actions.
    void onFollowingSelected();
    void onFollowersSelected();
    void findFriendsPressed();
    void _toggleEditing();

    // The page's side of a deletion's reply (the count's side is taken
    // whether or not the page still hears it).
    void _removedFriend(std::shared_ptr<platform::Object> reply);
    void _removedPendingFriend(std::shared_ptr<platform::Object> reply);
    void _failedRemoving(std::shared_ptr<platform::Object> failure);

    int currentTab() const { return curTabType_; }
    std::string kindName() const override { return "HCFriendsController"; }

private:
    bool isForLocalUser() const;
    // Takes the other tab's rows down when the tab changes (the load follows).
    void switchToTab(Tab tab);
    void setEditingOff();
    void _updateEditButtonState();
    void updateHeader();

    int curTabType_ = kFriendsTab;
    bool alwaysRefresh_ = false;
    bool refreshOnNextDidAppear_ = false;
    int friendCount_ = 0;
    std::weak_ptr<HCFriendsHeaderController> header_;
};
