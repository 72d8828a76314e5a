#include "platform/ui/Describe.h"

namespace platform::ui {

namespace {

void dump(const View& view, int depth, std::string& out)
{
    if (view.isHidden() || view.alpha() < 0.01) return;
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += view.kindName();
    out += ' ';
    out += toString(view.frame());
    if (view.tag() != 0) out += " tag=" + std::to_string(view.tag());
    if (view.alpha() < 1) out += " alpha=" + formatNumber(view.alpha());
    if (!view.transform().isIdentity()) out += " transform=" + toString(view.transform());
    std::string content = view.describe();
    if (!content.empty()) out += ' ' + content;
    out += '\n';
    for (const auto& sub : view.subviews()) dump(*sub, depth + 1, out);
}

}  // namespace

std::string describe(const ViewPtr& root)
{
    std::string out;
    if (root) dump(*root, 0, out);
    return out;
}

}  // namespace platform::ui
