#include "platform/ui/Color.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Geometry.h"

namespace platform::ui {

namespace {
double clampUnit(double v)
{
    if (std::isnan(v)) return 0;
    return std::clamp(v, 0.0, 1.0);
}
}  // namespace

Color::Color(double r, double g, double b, double a)
    : red(clampUnit(r)), green(clampUnit(g)), blue(clampUnit(b)), alpha(clampUnit(a))
{
}

std::string Color::toString() const
{
    return "rgba(" + formatNumber(red) + "," + formatNumber(green) + "," + formatNumber(blue) + "," +
           formatNumber(alpha) + ")";
}

}  // namespace platform::ui
