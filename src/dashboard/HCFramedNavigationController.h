#pragma once
// The dashboard's navigation controller: each tab is one. Besides the
// stack it keeps the context pages ask for: the game in context (the Now
// Playing tab's game), and, per pushed page, the player whose page it is
// and the player the local player is compared to. Its profile banner shows
// the local player and follows every change of player. A top page that is
// an HCCustomBottomView has its bottom view kept at the frame's bottom,
// above the keyboard while that shows.
//
// Thread: main thread.
#include <vector>
#include <memory>
#include <string>

#include "core/users/HCUser.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "uiframework/HCCustomBottomView.h"
#include "uiframework/HCNavigationController.h"
#include "uiframework/HCPageContextSource.h"

class HCGameProfilePageInfo;

class HCFramedNavigationController : public HCNavigationController,
                                     public HCPageContextSource,
                                     public HCBottomViewHost {
public:
    HCFramedNavigationController();
    ~HCFramedNavigationController() override;
    static std::shared_ptr<HCFramedNavigationController> withRootViewController(
        const platform::ui::ViewControllerPtr& root);

    const std::shared_ptr<HCGameProfilePageInfo>& currentGameContext() const { return gameContext_; }
    void changeGameContext(std::shared_ptr<HCGameProfilePageInfo> game) { gameContext_ = std::move(game); }
    // The player the top page compares the local player to; nil when none.
    std::shared_ptr<HCUser> comparisonUser() const;

    // Pushes a page about `user`.
    void pushViewController(const platform::ui::ViewControllerPtr& controller, bool animated,
                            const std::shared_ptr<HCUser>& inContextOfUser);
    // Pushes a page comparing the local player to `user`.
    void pushViewControllerInContextOfLocalUserComparedTo(const platform::ui::ViewControllerPtr& controller,
                                                          bool animated, const std::shared_ptr<HCUser>& user);
    using HCNavigationController::pushViewController;
    // The players of a page on the stack change (a page that does not
    // support comparison keeps none compared); a page that is an
    // HCProfileFrame hears of a change. False when the page is not on the stack.
    bool changeProfileUsers(const platform::ui::ViewControllerPtr& page, const std::shared_ptr<HCUser>& user,
                            const std::shared_ptr<HCUser>& comparedTo);

    // Re-reads the top page's banner (HCBannerProvider): its cell shows at
    // the top of the frame, below the navigation bar, over the top of the
    // page (which leaves it room) while the page has one; otherwise none shows.
    void refreshBanner();
    // The banner shown now; nil when none.
    const platform::ui::TableViewCellPtr& featuredBanner() const { return featuredBanner_; }

    // Re-reads the local player into the profile banner.
    void refreshProfile();
    const std::shared_ptr<platform::ui::Label>& profileBanner();

    std::shared_ptr<HCUser> pageContextUser(const platform::ui::ViewController& page) const override;
    std::shared_ptr<HCUser> pageComparisonUser(const platform::ui::ViewController& page) const override;
    std::shared_ptr<HCGameProfilePageInfo> pageContextGame(const platform::ui::ViewController& page) const override;

    void refreshBottomView() override;
    void adjustForKeyboard(bool shown, double height) override;
    const platform::ui::ViewPtr& bottomView() const { return bottomView_; }

    void loadView() override;
    std::string kindName() const override { return "HCFramedNavigationController"; }

private:
    struct PageContext {
        std::weak_ptr<platform::ui::ViewController> page;
        std::shared_ptr<HCUser> user;
        std::shared_ptr<HCUser> comparedTo;
    };
    void remember(const platform::ui::ViewControllerPtr& page, std::shared_ptr<HCUser> user,
                  std::shared_ptr<HCUser> comparedTo);
    // The context of a page still on the stack; pages that left are forgotten.
    const PageContext* contextOf(const platform::ui::ViewController& page) const;

    std::shared_ptr<HCGameProfilePageInfo> gameContext_;
    std::vector<PageContext> contexts_;
    std::shared_ptr<platform::ui::Label> profileBanner_;
    platform::ui::TableViewCellPtr featuredBanner_;
    void placeBottomView();

    platform::ui::ViewPtr bottomView_;
    double keyboardHeight_ = 0;
};
