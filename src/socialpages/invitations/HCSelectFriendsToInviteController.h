#pragma once
// The invite flow's friend picker ("SelectFriendsToInvite"): the player's
// invitable friends, ticked and unticked by a tap, a friend matched by user
// id; "Done" (the only way back) hands the choice to the start page. The
// loading screen stays up until both the following-anyone check and the
// friends page answered, each failure included. The first load is at once;
// every later load of the same picker waits 5 s first.
//
// Thread: main thread.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/users/HCUser.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/TextField.h"
#include "uiframework/table/HCStalledRefresh.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCSelectInviteTypeController;

class HCSelectFriendsToInviteController : public HCTableSequenceControllerHelper {
public:
    static constexpr uint32_t kUserNotSelected = 0xFFFFFFFFu;
    static constexpr double kRefreshStallSeconds = 5.0;

    static std::shared_ptr<HCSelectFriendsToInviteController> inviteController(
        const std::shared_ptr<HCSelectInviteTypeController>& start, const std::vector<platform::ObjectPtr>& selected);

    void done();
    // Takes away the modal the dashboard's root shows. Nothing of the flow
    // calls it; a page that shows the picker modally may.
    void cancel();
    // As the compose page's.
    static std::string getUserMessage(const platform::ui::TextField& field);
    void toggleSelectionOfUser(const HCUserPtr& user);
    uint32_t _userIsAtSelectedIndex(const HCUserPtr& user) const;
    const std::vector<platform::ObjectPtr>& selectedUsers() const { return selectedUsers_; }

    void localUserFollowingAnyone(std::shared_ptr<platform::Number> answer);
    void localUserFollowingAnyoneFail(std::shared_ptr<platform::Object> failure);

    bool autoLoadData() override { return false; }
    bool usePlainTableSectionHeaders() override { return true; }
    bool shouldAlwaysShowNavBar() override { return true; }
    bool canReceiveCallbacksNow() const override { return true; }
    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::string getNoDataFoundMessage() override { return std::string(); }
    std::string getDataNotLoadedYetMessage() override { return "Loading Invitation..."; }
    platform::ui::ViewControllerPtr getNoDataFoundViewController() override;
    void onSectionsCreated(const Sections& sections) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void _onDataLoadedWrapper(const HCPaginatedSeriesPtr& series, bool isIncremental) override;
    void _refreshData() override;
    void hideLoadingScreen() override;
    void onCell(const platform::ui::TableViewCellPtr& cell, const platform::ObjectPtr& resource) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    std::string kindName() const override { return "HCSelectFriendsToInviteController"; }

private:
    std::vector<platform::ObjectPtr> selectedUsers_;
    std::shared_ptr<HCSelectInviteTypeController> inviteTypeController_;
    HCStalledRefresh stall_{kRefreshStallSeconds};
    bool friendsDownloadOutstanding_ = false;
    bool anyFriendsDownloadOutstanding_ = false;
    bool followingAnyone_ = false;
};
