#pragma once
// The fan club of the game in context ("FanClub"): a fixed menu to make the
// game a favourite, invite a friend, read the developer's announcements,
// subscribe to the newsletter, suggest a feature and see the developer's
// other games. The game is the one the navigation controller is showing
// (the game page sets it). The first appearance tells the service the fan
// club was seen; the announcements row carries the unread count on the
// running game's fan club only. It shows no banner: the frame clears the
// game page's while the fan club is on top.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dashboard/HCBannerProvider.h"
#include "uiframework/table/HCTableStaticControllerHelper.h"

class HCFanClubCell;
class HCGameProfilePageInfo;

class HCFanClubController final : public HCTableStaticControllerHelper, public HCBannerProvider {
public:
    using PageMaker = std::function<platform::ui::ViewControllerPtr(const std::optional<std::string>& forumId)>;
    // The forum pages live above this layer; they say how to open a game's
    // suggestions forum when they are registered.
    static void setSuggestionBrowserMaker(PageMaker maker);

    Sections buildTableSectionDescriptions() override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;

    void inviteFriends();
    void createSuggestionBrowser();
    void createDeveloperRecommendationsBrowser();

    bool isBannerAvailableNow() override { return false; }
    std::string bannerCellControllerName() override { return "GameDiscoveryImageHyperlink"; }
    platform::ObjectPtr getBannerResource() override { return nullptr; }
    void onBannerClicked() override {}

    std::string kindName() const override { return "HCFanClubController"; }

private:
    void createCell(std::vector<platform::ui::TableViewCellPtr>& cells, const std::string& title,
                    const std::optional<std::string>& iconName, const std::optional<std::string>& controllerName,
                    void (HCFanClubController::*createSelector)());
    std::shared_ptr<HCGameProfilePageInfo> contextGame() const;
    void showUnreadAnnouncements(const std::vector<platform::ui::TableViewCellPtr>& cells) const;
    void push(const platform::ui::ViewControllerPtr& page);

    bool registeredView_ = false;
};
