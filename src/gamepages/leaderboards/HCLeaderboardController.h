#pragma once
// The leaderboards of one game ("Leaderboard"), one row each; a tap opens
// that board's score page. From the service with the compared player when
// the page has one; offline from the device's copy. Left without a game it
// lists the running game's boards.
//
// In a dashboard launch, a leaderboard id after this page opens that
// board's score page over it.
//
// Thread: main thread.
#include <memory>

#include "core/users/HCGameProfilePageInfo.h"
#include "dashboard/HCLaunchItemFollower.h"
#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCLeaderboardController : public HCTableSequenceControllerHelper,
                                public HCProfileFrame,
                                public HCLaunchItemFollower {
public:
    void setGameProfileInfo(std::shared_ptr<HCGameProfilePageInfo> info) { gameProfileInfo_ = std::move(info); }
    const std::shared_ptr<HCGameProfilePageInfo>& gameProfileInfo() const { return gameProfileInfo_; }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;

    bool supportsComparison() override { return false; }
    void profileUsersChanged(const std::shared_ptr<HCUser>& user, const std::shared_ptr<HCUser>& comparedToUser) override;

    platform::ui::ViewControllerPtr controllerForFollowingLaunchItem(const std::string& leaderboardId) override;

    std::string kindName() const override { return "HCLeaderboardController"; }

private:
    std::shared_ptr<HCGameProfilePageInfo> gameProfileInfo_;
    // Whether the resource map was last built with a compared player.
    bool isComparison_ = false;
};
