#pragma once
// Who's playing ("WhosPlaying"): the friends of a player (the local player
// unless `userId` names another) who play a game, a page at a time, each
// with the game's points and the player's total. The game's page names the
// game; without one it is this game. The
// list is asked again whenever a friend's presence changes while the page
// is shown. An empty list with linked networks the player could still
// import from shows the full-screen import message instead.
//
// Thread: main thread.
#include <optional>
#include <string>

#include "gamepages/HCGameScopedPage.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCWhosPlayingController : public HCTableSequenceControllerHelper, public HCGameScopedPage {
public:
    static constexpr const char* kNoDataMessage =
        "None of your friends have played this game.  Why don't you tell them about it?";

    ~HCWhosPlayingController() override;

    void setApplicationName(const std::optional<std::string>& name) override { applicationName_ = name; }
    void setApplicationId(const std::optional<std::string>& id) override { applicationId_ = id; }
    void setApplicationIconUrl(const std::optional<std::string>& url) override { applicationIconUrl_ = url; }
    const std::optional<std::string>& userId() const { return userId_; }
    void setUserId(const std::optional<std::string>& id) { userId_ = id; }

    std::shared_ptr<HCService> getService() override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::string getNoDataFoundMessage() override { return kNoDataMessage; }
    bool usePlainTableSectionHeaders() override { return true; }
    // "WhosPlayingSectionHeaderView" with the section's title, for every
    // section shown.
    platform::ui::ViewPtr createPlainTableSectionHeader(int section) override;
    platform::ui::ViewControllerPtr getNoDataFoundViewController() override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    std::string kindName() const override { return "HCWhosPlayingController"; }

private:
    std::optional<std::string> applicationName_, applicationId_, applicationIconUrl_, userId_;
};
