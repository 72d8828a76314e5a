#pragma once
// What a navigation bar shows while a controller is on top of its stack: a
// title or title view, the left and right buttons, whether the back button is
// hidden, the button that leads back to this controller from the one above,
// and a prompt line.
//
// Every setter records whether it was animated (the last one wins), so
// callers can check how a page changed its bar.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/View.h"

namespace platform::ui {

class NavigationItem : public Object {
public:
    NavigationItem() = default;
    explicit NavigationItem(std::string title) : title_(std::move(title)) {}

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { HC_CHECK_MAIN_THREAD(); title_ = std::move(title); }
    const ViewPtr& titleView() const { return titleView_; }
    void setTitleView(ViewPtr view) { HC_CHECK_MAIN_THREAD(); titleView_ = std::move(view); }
    const std::optional<std::string>& prompt() const { return prompt_; }
    void setPrompt(std::optional<std::string> prompt) { HC_CHECK_MAIN_THREAD(); prompt_ = std::move(prompt); }

    const BarButtonItemPtr& leftBarButtonItem() const { return left_; }
    void setLeftBarButtonItem(BarButtonItemPtr item, bool animated = false);
    const BarButtonItemPtr& rightBarButtonItem() const { return right_; }
    void setRightBarButtonItem(BarButtonItemPtr item, bool animated = false);
    // The item shown on the back button of the controller pushed above this one.
    const BarButtonItemPtr& backBarButtonItem() const { return back_; }
    void setBackBarButtonItem(BarButtonItemPtr item) { HC_CHECK_MAIN_THREAD(); back_ = std::move(item); }
    bool hidesBackButton() const { return hidesBackButton_; }
    void setHidesBackButton(bool hides, bool animated = false);

    bool lastChangeAnimated() const { return lastChangeAnimated_; }

    // The back button's words on the bar above: the back item's title, else
    // this item's title, else "Back".
    std::string backButtonTitle() const;

private:
    std::string title_;
    ViewPtr titleView_;
    std::optional<std::string> prompt_;
    BarButtonItemPtr left_;
    BarButtonItemPtr right_;
    BarButtonItemPtr back_;
    bool hidesBackButton_ = false;
    bool lastChangeAnimated_ = false;
};

using NavigationItemPtr = std::shared_ptr<NavigationItem>;

}  // namespace platform::ui
