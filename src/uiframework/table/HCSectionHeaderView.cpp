#include "uiframework/table/HCSectionHeaderView.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace {

constexpr double kNibWidth = 320;

}  // namespace

platform::ui::ViewPtr HCSectionHeaderView::make(double width, const std::string& title)
{
    HC_CHECK_MAIN_THREAD();
    auto header = platform::ui::View::make(platform::ui::Rect(0, 0, width, kHeight));
    header->setBackgroundColor(platform::ui::Color::darkGrayColor());
    header->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    auto label = platform::ui::Label::make(platform::ui::Rect(10, 0, std::max(0.0, width - 20), kHeight));
    label->setTag(kTitleTag);
    label->setText(title);
    label->setTextColor(platform::ui::Color::whiteColor());
    label->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    header->addSubview(label);
    return header;
}

void HCSectionHeaderView::registerDefaultNib(const std::string& nibName)
{
    platform::ui::NibRegistry::registerNib(nibName, [](const platform::ObjectPtr&) {
        return std::vector<platform::ObjectPtr>{make(kNibWidth, "")};
    });
}

platform::ui::ViewPtr HCSectionHeaderView::loadForSection(const std::string& name, HCTableControllerHelper& page,
                                                          int section)
{
    HC_CHECK_MAIN_THREAD();
    const auto& sections = page.sections();
    if (section < 0 || static_cast<size_t>(section) >= sections.size()) return nullptr;
    auto view = HCControllerLoader::loadView(name, platform::self(&page));
    if (!view) return nullptr;
    if (auto label = std::dynamic_pointer_cast<platform::ui::Label>(view->viewWithTag(kTitleTag)))
        label->setText(sections[static_cast<size_t>(section)]->title().value_or(""));
    return view;
}
