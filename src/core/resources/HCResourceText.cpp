#include "core/resources/HCResourceText.h"

#include <algorithm>

#include "kernel/system/HCDateFormatters.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/TextConversions.h"

namespace HCResourceText {

bool readBool(const std::optional<std::string>& text)
{
    return text && platform::boolValue(*text);
}

std::string boolText(bool value)
{
    return value ? "true" : "false";
}

std::string flagText(bool value)
{
    return value ? "1" : "0";
}

int32_t readInt(const std::optional<std::string>& text)
{
    return text ? platform::intValue(*text) : 0;
}

uint32_t readCount(const std::optional<std::string>& text)
{
    return static_cast<uint32_t>(std::max(0, readInt(text)));
}

std::string intText(int64_t value)
{
    return platform::format("%lld", static_cast<long long>(value));
}

platform::DatePtr readDate(const std::optional<std::string>& text)
{
    return text ? HCDateFormatters::railsFormatter().dateFromString(*text) : nullptr;
}

std::optional<std::string> dateText(const platform::DatePtr& date)
{
    if (!date) return std::nullopt;
    return HCDateFormatters::railsFormatter().stringFromDate(*date);
}

platform::ObjectPtr boxed(const std::optional<std::string>& text)
{
    return text ? platform::String::make(*text) : nullptr;
}

}  // namespace HCResourceText
