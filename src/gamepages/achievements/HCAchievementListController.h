#pragma once
// The achievements of one game ("AchievementList"): the player's own
// progress, or, with a compared player, both players' unlocks side by side.
// A page given the running game's id lists it from the device (no request,
// also offline); any other id, none included, and every compared list come
// from the service in pages (no id, "" and "@me" being the running game
// there, which offline answers from the device too).
//
// The own list is one section titled "<unlocked>/<total> Achievements
// Unlocked", counted over every row loaded so far; above it, while online
// and once something is unlocked, a row that opens the page to brag about
// the running game's achievements. Another game's list never offers it:
// what the player could share there would be this game's.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "dashboard/HCPostPushPage.h"
#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCPlayedGame;

class HCAchievementListController : public HCTableSequenceControllerHelper,
                                    public HCProfileFrame,
                                    public HCPostPushPage {
public:
    static constexpr const char* kTitle = "Achievements";
    static constexpr const char* kShareCellName = "AchievementProgressionListLeading";

    HCAchievementListController();

    const std::optional<std::string>& applicationName() const { return applicationName_; }
    void setApplicationName(std::optional<std::string> name) { applicationName_ = std::move(name); }
    const std::optional<std::string>& applicationId() const { return applicationId_; }
    void setApplicationId(std::optional<std::string> id) { applicationId_ = std::move(id); }
    const std::optional<std::string>& applicationIconUrl() const { return applicationIconUrl_; }
    void setApplicationIconUrl(std::optional<std::string> url) { applicationIconUrl_ = std::move(url); }

    // Whether the local player has the game (from a played game's statistics).
    bool doesUserHaveApplication() const { return doesUserHaveApplication_; }
    void setDoesUserHaveApplication(bool has) { doesUserHaveApplication_ = has; }
    // The game of a played-games row: its name, id and icon, and whether
    // the local player has it.
    void populateContextualDataFromPlayedGame(const std::shared_ptr<HCPlayedGame>& game);
    // Sent by whoever pushed the page: the compared player is known once the
    // page is on its navigation controller, and the rows follow it.
    void postPushAchievementListController();
    void postPush() override { postPushAchievementListController(); }

    // A compared player who is someone other than the local player.
    bool isComparingToOtherUser();

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    bool usePlainTableSectionHeaders() override;
    std::optional<std::string> getLeadingCellControllerNameForSection(int section) override;
    void onLeadingCellWasLoaded(const platform::ui::TableViewCellPtr& cell, int section) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void _onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    std::string getNoDataFoundMessage() override;

    bool supportsComparison() override { return true; }
    void profileUsersChanged(const std::shared_ptr<HCUser>& user, const std::shared_ptr<HCUser>& comparedToUser) override;

    std::string kindName() const override { return "HCAchievementListController"; }

private:
    // The page's id is the running game's: its list is on the device.
    bool isRunningGame() const;
    // The page's id names a game other than the running one.
    bool namesAnotherGame() const;
    // The rows' cells for the compared player in force now.
    void followComparison();
    // The own list's title, counted over the rows of `section`.
    static std::string unlockedTitle(const HCTableSectionDescription& section);

    std::optional<std::string> applicationName_;
    std::optional<std::string> applicationId_;
    std::optional<std::string> applicationIconUrl_;
    // The share row shown above the own list, to know a tap on it.
    platform::ui::TableViewCellPtr achievementProgressionListLeading_;
    // Whether the resource map was last built for a compared list.
    bool mapIsForComparison_ = false;
    bool doesUserHaveApplication_ = false;
};
