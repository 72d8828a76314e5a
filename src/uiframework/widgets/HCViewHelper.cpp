#include "uiframework/widgets/HCViewHelper.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/TextMetrics.h"

namespace HCViewHelper {

platform::ui::ViewPtr findViewByTag(const platform::ui::ViewPtr& root, int tag)
{
    HC_CHECK_MAIN_THREAD();
    return root ? root->viewWithTag(tag) : nullptr;
}

platform::ui::FontPtr getFontToFitStringInSize(const std::string& text, platform::ui::Size size,
                                               const platform::ui::Font& font, unsigned maxPointSize,
                                               unsigned minPointSize)
{
    const unsigned upper = std::max(maxPointSize, minPointSize);
    const unsigned lower = std::min(maxPointSize, minPointSize);
    for (unsigned points = upper; points > lower; --points) {
        auto candidate = font.fontWithSize(points);
        // Measured without a height limit, so a text that needs more lines shows it.
        const auto needed = platform::ui::sizeWithFont(text, *candidate, platform::ui::Size(size.width, 1e9),
                                                       platform::ui::LineBreakMode::WordWrap);
        if (needed.height <= size.height && needed.width <= size.width) return candidate;
    }
    return font.fontWithSize(lower);
}

}  // namespace HCViewHelper
