#include "platform/ui/TabBarItem.h"

namespace platform::ui {

std::string TabBarItem::description() const
{
    std::string text = "TabBarItem \"" + title_ + "\"";
    if (tag_ != 0) text += " tag=" + std::to_string(tag_);
    if (badgeValue_) text += " badge=" + *badgeValue_;
    if (!enabled_) text += " disabled";
    return text;
}

}  // namespace platform::ui
