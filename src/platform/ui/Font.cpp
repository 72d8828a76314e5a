#include "platform/ui/Font.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/Geometry.h"

namespace platform::ui {

Font::Font(std::string name, double pointSize)
    : name_(std::move(name)), pointSize_(std::max(0.0, pointSize)), bold_(name_.find("Bold") != std::string::npos)
{
}

std::shared_ptr<Font> Font::systemFontOfSize(double pointSize) { return std::make_shared<Font>("System", pointSize); }

std::shared_ptr<Font> Font::boldSystemFontOfSize(double pointSize)
{
    return std::make_shared<Font>("System-Bold", pointSize);
}

std::shared_ptr<Font> Font::fontWithName(const std::string& name, double pointSize)
{
    return std::make_shared<Font>(name, pointSize);
}

double Font::lineHeight() const { return std::ceil(pointSize_ * 1.2); }

std::shared_ptr<Font> Font::fontWithSize(double pointSize) const { return std::make_shared<Font>(name_, pointSize); }

std::string Font::description() const { return name_ + " " + formatNumber(pointSize_); }

}  // namespace platform::ui
