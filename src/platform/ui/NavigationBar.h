#pragma once
// The bar at the top of a navigation controller: the navigation items of the
// controllers on its stack (the top item's title and buttons are what a
// person sees), the back button that leads to the item below, a style and a
// tint.
//
// Thread: main thread only.
#include <functional>
#include <optional>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"

namespace platform::ui {

// Numbers match the platform's bar styles.
enum class BarStyle : int { Default = 0, Black = 1, BlackTranslucent = 2 };

class NavigationBar : public View {
public:
    static constexpr double kHeight = 44;

    explicit NavigationBar(const Rect& frame = Rect());

    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style) { HC_CHECK_MAIN_THREAD(); barStyle_ = style; }
    // Empty: the style's own colour.
    const std::optional<Color>& tintColor() const { return tintColor_; }
    void setTintColor(std::optional<Color> color) { HC_CHECK_MAIN_THREAD(); tintColor_ = std::move(color); }

    const std::vector<NavigationItemPtr>& items() const { return items_; }
    void setItems(std::vector<NavigationItemPtr> items, bool animated);
    NavigationItemPtr topItem() const;
    // The item below the top one, or nullptr.
    NavigationItemPtr backItem() const;
    bool lastChangeAnimated() const { return lastChangeAnimated_; }

    // Shown when there is an item below and the top item neither hides the
    // back button nor puts its own button on the left.
    bool showsBackButton() const;
    // The back button's words; empty when it is not shown.
    std::string backButtonTitle() const;
    // Whoever owns the bar (its navigation controller) handles the back button.
    void setBackHandler(std::function<void()> handler) { HC_CHECK_MAIN_THREAD(); backHandler_ = std::move(handler); }
    // A person's tap on the back button: false when none is shown.
    bool tapBackButton();

    std::string kindName() const override { return "NavigationBar"; }
    // The top item's title, the back button and the left and right items.
    std::string describe() const override;

private:
    BarStyle barStyle_ = BarStyle::Default;
    std::optional<Color> tintColor_;
    std::vector<NavigationItemPtr> items_;
    bool lastChangeAnimated_ = false;
    std::function<void()> backHandler_;
};

}  // namespace platform::ui
