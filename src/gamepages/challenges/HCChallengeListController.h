#pragma once
// The challenges of a game ("ChallengeList"): the player's pending ones
// (list type 0), the challenge types with the player's counts (type 2; both
// behind the "Pending" and "History" tabs), or the history of one type
// (type 1, pushed from a type's row, without tabs). With a compared player
// the lists are between the two. A tap opens the challenge's detail page or
// the type's history.
//
// The unviewed-challenges count drops by one for each new challenge of the
// running game the page lists, once per record however often it reloads,
// never below 0. A change of tab takes the other tab's rows down before its
// load, so a failed load under a tab says so instead of showing the other
// tab's rows.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCChallengeDefinitionStats;
class HCChallengeToUser;

class HCChallengeListController : public HCTableSequenceControllerHelper, public HCProfileFrame {
public:
    enum ListType : int { kPending = 0, kHistoryOfType = 1, kTypes = 2 };
    static constexpr const char* kSectionHeaderViewName = "ChallengeListSectionHeaderView";
    static constexpr const char* kSectionHeaderImageName = "HCChallengeListSectionHeader.png";

    // The challenge types' section header ("ChallengeListSectionHeaderView"):
    // its title, tagged 1, on the list's own strip.
    static void registerSectionHeaderView();

    int listType() const { return listType_; }
    void setListType(int type) { listType_ = type; }
    void setClientApplicationId(const std::optional<std::string>& id) { clientApplicationId_ = id; }
    void setChallengeDefinitionStats(std::shared_ptr<HCChallengeDefinitionStats> stats)
    {
        challengeDefinitionStats_ = std::move(stats);
    }

    void onPendingSelected();
    void onHistorySelected();

    std::shared_ptr<HCService> getService() override;
    std::optional<std::string> getTableHeaderControllerName() override;
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    bool usePlainTableSectionHeaders() override { return true; }
    platform::ui::ViewPtr createPlainTableSectionHeader(int section) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override;
    void onSectionsCreated(const Sections& sections) override;
    std::string getNoDataFoundMessage() override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;

    bool supportsComparison() override { return true; }
    void profileUsersChanged(const std::shared_ptr<HCUser>& user, const std::shared_ptr<HCUser>& comparedToUser) override;

    std::string kindName() const override { return "HCChallengeListController"; }

private:
    void takeOffUnviewedCount(HCChallengeToUser& record);
    std::optional<std::string> historyTypeId() const;
    // Takes the other tab's rows down when the list changes (the load follows).
    void switchToList(ListType type);

    int listType_ = kPending;
    std::optional<std::string> clientApplicationId_;
    std::shared_ptr<HCChallengeDefinitionStats> challengeDefinitionStats_;
    // The records already taken off the unviewed count by this page.
    std::set<std::string> countedRecords_;
};
