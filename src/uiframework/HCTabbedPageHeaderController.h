#pragma once
// The row of tabs at the top of a page that shows one of several lists
// (loader name "TabbedPageHeader"). The page adds its tabs, each with the
// method to call on the callback target when the player picks it; the first
// tab added is selected (and called) at once. A tab carries a badge.
// showTab selects a tab without calling back; picking the tab that is
// already selected does nothing.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"
#include "uiframework/widgets/HCBadgeView.h"

class HCTabbedPageHeaderController : public platform::ui::ViewController {
public:
    static constexpr double kHeight = 40;

    // Not retained.
    void setCallbackTarget(const platform::ObjectPtr& target) { target_ = target; }

    template <class T>
    void addTab(const std::string& name, void (T::*selectedCallback)())
    {
        addTab(name, [selectedCallback](platform::Object& target) {
            if (auto* typed = dynamic_cast<T*>(&target)) (typed->*selectedCallback)();
        });
    }
    void addTab(const std::string& name, std::function<void(platform::Object& target)> selected);

    void setBadgeValue(int value, const std::string& tabName);
    // Selects the tab without calling back; false for an unknown name.
    bool showTab(const std::string& tabName);
    // The player picks a tab (as a tap on it does).
    bool pickTab(const std::string& tabName);
    const std::optional<std::string>& selectedTab() const { return selected_; }
    // The tab's button; nil for an unknown name.
    platform::ui::ButtonPtr buttonForTab(const std::string& tabName) const;
    // How every tab's title sits in its tab (centred, with no padding, by
    // default): a page with long tab names aligns them left past a margin.
    void setTabTextAlignment(platform::ui::TextAlignment alignment);
    void setTabLabelPadding(const platform::ui::EdgeInsets& padding);

    void loadView() override;
    std::string kindName() const override { return "HCTabbedPageHeaderController"; }

private:
    struct Tab {
        std::string name;
        std::function<void(platform::Object&)> selected;
        platform::ui::ButtonPtr button;
        std::shared_ptr<HCBadgeView> badge;
    };
    Tab* find(const std::string& name);
    void select(const std::string& name);
    void layoutTabs();

    std::weak_ptr<platform::Object> target_;
    std::vector<Tab> tabs_;
    std::optional<std::string> selected_;
    platform::ui::TextAlignment textAlignment_ = platform::ui::TextAlignment::Center;
    platform::ui::EdgeInsets labelPadding_;
};
