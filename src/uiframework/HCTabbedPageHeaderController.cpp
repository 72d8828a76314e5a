#include "uiframework/HCTabbedPageHeaderController.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Screen.h"
#include "uiframework/HCUIKitCategories.h"

namespace {
const bool registered =
    (platform::registerClass<HCTabbedPageHeaderController>("HCTabbedPageHeaderController"), true);
}  // namespace

void HCTabbedPageHeaderController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    auto width = platform::ui::Screen::mainScreen()->applicationFrame().width();
    auto row = platform::ui::View::make(platform::ui::Rect(0, 0, width, kHeight));
    row->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    setView(row);
    for (const auto& tab : tabs_) {
        row->addSubview(tab.button);
        row->addSubview(tab.badge);
    }
    layoutTabs();
}

void HCTabbedPageHeaderController::addTab(const std::string& name, std::function<void(platform::Object& target)> selected)
{
    HC_CHECK_MAIN_THREAD();
    if (find(name)) return;
    Tab tab{name, std::move(selected), std::make_shared<platform::ui::Button>(), HCBadgeView::redBadge()};
    setTitleForAllStates(*tab.button, name);
    tab.button->titleLabel()->setTextAlignment(textAlignment_);
    std::weak_ptr<HCTabbedPageHeaderController> weakSelf = platform::self(this);
    tab.button->addTarget(this, [weakSelf, name](platform::ui::Control&) {
        if (auto self = weakSelf.lock()) self->pickTab(name);
    }, platform::ui::ControlEventTouchUpInside);
    tabs_.push_back(std::move(tab));
    if (auto row = viewIfLoaded()) {
        row->addSubview(tabs_.back().button);
        row->addSubview(tabs_.back().badge);
        layoutTabs();
    }
    if (tabs_.size() == 1) pickTab(name);
}

void HCTabbedPageHeaderController::setBadgeValue(int value, const std::string& tabName)
{
    HC_CHECK_MAIN_THREAD();
    if (auto* tab = find(tabName)) {
        tab->badge->setValue(value);
        layoutTabs();
    }
}

bool HCTabbedPageHeaderController::showTab(const std::string& tabName)
{
    HC_CHECK_MAIN_THREAD();
    if (!find(tabName)) return false;
    select(tabName);
    return true;
}

bool HCTabbedPageHeaderController::pickTab(const std::string& tabName)
{
    HC_CHECK_MAIN_THREAD();
    auto* tab = find(tabName);
    if (!tab) return false;
    if (selected_ == tabName) return true;
    select(tabName);
    // The callback may add tabs: call a copy.
    auto callback = tab->selected;
    if (auto target = target_.lock(); target && callback) callback(*target);
    return true;
}

platform::ui::ButtonPtr HCTabbedPageHeaderController::buttonForTab(const std::string& tabName) const
{
    for (const auto& tab : tabs_) {
        if (tab.name == tabName) return tab.button;
    }
    return nullptr;
}

void HCTabbedPageHeaderController::setTabTextAlignment(platform::ui::TextAlignment alignment)
{
    HC_CHECK_MAIN_THREAD();
    textAlignment_ = alignment;
    for (auto& tab : tabs_) tab.button->titleLabel()->setTextAlignment(alignment);
}

void HCTabbedPageHeaderController::setTabLabelPadding(const platform::ui::EdgeInsets& padding)
{
    HC_CHECK_MAIN_THREAD();
    labelPadding_ = padding;
    layoutTabs();
}

HCTabbedPageHeaderController::Tab* HCTabbedPageHeaderController::find(const std::string& name)
{
    for (auto& tab : tabs_) {
        if (tab.name == name) return &tab;
    }
    return nullptr;
}

void HCTabbedPageHeaderController::select(const std::string& name)
{
    selected_ = name;
    for (auto& tab : tabs_) tab.button->setSelected(tab.name == name);
}

void HCTabbedPageHeaderController::layoutTabs()
{
    auto row = viewIfLoaded();
    if (!row || tabs_.empty()) return;
    const double width = row->bounds().width() / static_cast<double>(tabs_.size());
    for (size_t i = 0; i < tabs_.size(); ++i) {
        const platform::ui::Rect frame(width * static_cast<double>(i), 0, width, row->bounds().height());
        tabs_[i].button->setFrame(frame);
        tabs_[i].button->titleLabel()->setFrame(platform::ui::insetRect(tabs_[i].button->bounds(), labelPadding_));
        tabs_[i].badge->setCenter(platform::ui::Point(frame.maxX() - HCBadgeView::kHeight / 2, HCBadgeView::kHeight / 2));
    }
}
