#pragma once
// The base of the dashboard's plain pages (and, through the table and form
// helpers, of every page): the loading screen, the badge of the page's tab,
// the player in whose context the page is shown, and the callback rule.
//
// Callback rule: a page receives HCDelegate callbacks only while it is on a
// navigation stack, so a reply that arrives after the page was popped calls
// back nothing. A page that must hear replies wherever it is (a form shown
// modally) overrides canReceiveCallbacksNow.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "kernel/callbacks/HCCallbackable.h"
#include "platform/ui/ViewController.h"
#include "uiframework/HCLoadingView.h"
#include "uiframework/HCTabBarItem.h"

class HCUser;
class HCGameProfilePageInfo;

class HCViewController : public platform::ui::ViewController, public HCCallbackable {
public:
    explicit HCViewController(std::string nibName = {});

    // Puts the loading screen over the page's view (once, however often it
    // is asked) and takes it away again.
    virtual void showLoadingScreen();
    virtual void hideLoadingScreen();
    bool isShowingLoadingScreen() const { return loadingView_ != nullptr; }

    // The tab this page is the root of (not retained); the tab bar
    // controller sets it.
    virtual void setOwningTabBarItem(const HCTabBarItemPtr& item);
    HCTabBarItemPtr owningTabBarItem() const { return owningTabBarItem_.lock(); }
    // The badge of the page's tab: the owning tab's, else the tab of the
    // navigation controller the page is in. nullopt takes the badge away.
    void setBadgeValue(std::optional<std::string> text);

    // From the navigation controller that shows the page when it keeps a
    // context (HCPageContextSource), else nil.
    std::shared_ptr<HCUser> getPageContextUser() const;
    std::shared_ptr<HCUser> getPageComparisonUser() const;
    std::shared_ptr<HCGameProfilePageInfo> getPageContextGame() const;

    // Only while on a navigation stack.
    bool canReceiveCallbacksNow() const override;
    // Whether the page is one of the controllers of a navigation stack now.
    bool isOnNavigationStack() const;

    // Lets the navigation controller's bottom view follow the page now shown.
    void viewWillAppear(bool animated) override;

    std::string kindName() const override { return "HCViewController"; }

protected:
    // The view the loading screen covers; the page's view by default.
    virtual platform::ui::ViewPtr loadingScreenParentView();

private:
    std::shared_ptr<HCLoadingView> loadingView_;
    std::weak_ptr<HCTabBarItem> owningTabBarItem_;
};
