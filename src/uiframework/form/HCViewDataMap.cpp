#include "uiframework/form/HCViewDataMap.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Label.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "uiframework/widgets/HCViewHelper.h"

void HCViewDataMap::addFieldReference(const std::string& name, int tag)
{
    HC_CHECK_MAIN_THREAD();
    fields_.push_back(Field{name, tag});
}

void HCViewDataMap::writeFields(const platform::ui::ViewPtr& root, HCISerializer& out) const
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& field : fields_) {
        auto view = HCViewHelper::findViewByTag(root, field.tag);
        const char* name = field.name.c_str();
        if (auto textField = std::dynamic_pointer_cast<platform::ui::TextField>(view)) {
            out.io(name, textField->text());
        } else if (auto textView = std::dynamic_pointer_cast<platform::ui::TextView>(view)) {
            out.io(name, textView->text());
        } else if (auto label = std::dynamic_pointer_cast<platform::ui::Label>(view)) {
            out.io(name, label->text());
        } else if (auto toggle = std::dynamic_pointer_cast<platform::ui::Switch>(view)) {
            out.io(name, toggle->isOn());
        } else if (auto segments = std::dynamic_pointer_cast<platform::ui::SegmentedControl>(view)) {
            out.io(name, segments->selectedSegmentIndex());
        }
    }
}
