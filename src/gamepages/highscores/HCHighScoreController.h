#pragma once
// The scores of one leaderboard ("HighScore"): the player's own score, the
// friends' and everybody's, for all time, today or this week (the tabs).
// Online each load asks for the friends' and the global page at once and
// shows them as one table once both are in; offline the one tab
// "My Scores" shows the player's stored scores, with no request.
//
// Game Center's scores of the board are merged in (through Halcyon's merge,
// the one the rest of the client uses) once both replies are in and Game
// Center has loaded the scope the load asked for; without Game Center that
// wait is none. A map button opens the scores near the player ("Mapping")
// when the player shares a known location.
//
// Each online load remembers the scope it asked for and has a generation:
// a tab picked while a load runs starts a load of its own, and only the
// latest load's replies are shown. A failed, refused or dropped request
// ends the load (loading screen down, table as it was).
//
// Under a ranked "My Score" a row offers to brag about it through the
// social post page.
//
// A score row's download button fetches the data attached to the score and
// hands it to the game's delegate (userDownloadedBlob) once; a failed or
// dropped download takes the loading screen down and, while the page is on
// screen, says so with an alert. A tap while a download runs is ignored.
//
// Thread: main thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/users/HCGameProfilePageInfo.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"


class HCHighScoreController : public HCTableSequenceControllerHelper, public HCProfileFrame {
public:
    // Game Center's numbering.
    enum TimeScope : unsigned { Today = 0, ThisWeek = 1, AllTime = 2 };
    static constexpr const char* kMyScoreSection = "My Score";

    void setLeaderboard(std::shared_ptr<HCLeaderboard> board) { leaderboard_ = std::move(board); }
    const std::shared_ptr<HCLeaderboard>& leaderboard() const { return leaderboard_; }
    void setGameProfileInfo(std::shared_ptr<HCGameProfilePageInfo> info) { gameProfileInfo_ = std::move(info); }
    const std::shared_ptr<HCGameProfilePageInfo>& gameProfileInfo() const { return gameProfileInfo_; }
    unsigned timeScope() const { return timeScope_; }

    // The tabs.
    void setTimeScopingAll() { setTimeScoping(AllTime); }
    void setTimeScopingDay() { setTimeScoping(Today); }
    void setTimeScopingWeek() { setTimeScoping(ThisWeek); }
    void nullyMethod() {}

    // The brag text when the game's brag delegate gives none.
    static std::string bragText(const HCHighScore& score, const std::string& boardName, const std::string& gameName);
    // Days of history the service is asked for: 1, 7, or 0 (no limit).
    static unsigned daysForTimeScope(unsigned scope);

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    bool allowPagination() override { return false; }
    bool usePlainTableSectionHeaders() override { return true; }
    std::optional<std::string> getTableHeaderControllerName() override { return std::string("TabbedPageHeader"); }
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    std::string getNoDataFoundMessage() override { return noDataFoundMessage_; }
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::optional<std::string> getTrailingCellControllerNameForSection(int section) override;
    void onTrailingCellWasClickedForSection(int section) override;
    // Online, a score of a known player opens the player's profile.
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;

    bool supportsComparison() override { return true; }
    void profileUsersChanged(const std::shared_ptr<HCUser>& user, const std::shared_ptr<HCUser>& comparedToUser) override;

    // The map button's action.
    void clickedMap();
    // A score row's download button; a score without data is ignored.
    void downloadBlobForHighScore(const std::shared_ptr<HCHighScore>& score);
    static constexpr const char* kBlobFailedTitle = "Error!";
    static constexpr const char* kBlobFailedMessage =
        "There was a problem downloading the data for this high score. Please try again later.";

    ~HCHighScoreController() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    std::string kindName() const override { return "HCHighScoreController"; }

private:
    // One online load: what it asked for, what came back, and how it ends.
    struct Load {
        unsigned generation = 0;
        unsigned scope = AllTime;
        HCDelegate onSuccess;
        HCDelegate onFailure;
        HCPaginatedSeriesPtr friendResources;
        HCPaginatedSeriesPtr globalResources;
    };

    void setTimeScoping(unsigned scope);
    void onScoresLoaded(unsigned generation, bool friendsOnly, const HCPaginatedSeriesPtr& series);
    // The running load of that generation; nil for a load replaced or ended.
    Load* loadOf(unsigned generation);
    void checkLoadFinished();
    void showMapButtonIfLocated();
    void onBlobDownloadedForHighScore(const std::shared_ptr<HCHighScore>& score);
    void endBlobDownload();
    void failLoad();
    std::shared_ptr<HCHighScore> myRankedScore(int section) const;

    std::shared_ptr<HCLeaderboard> leaderboard_;
    std::shared_ptr<HCGameProfilePageInfo> gameProfileInfo_;
    std::string noDataFoundMessage_;
    unsigned timeScope_ = AllTime;
    unsigned generation_ = 0;
    std::unique_ptr<Load> load_;
    bool downloadingBlob_ = false;
};
