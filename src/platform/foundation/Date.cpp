#include "platform/foundation/Date.h"

#include "platform/foundation/DateFormatter.h"
#include "platform/runtime/Clock.h"

namespace platform {

std::shared_ptr<Date> Date::now()
{
    return std::make_shared<Date>(Clock::currentTime());
}

std::shared_ptr<Date> Date::dateWithTimeIntervalSince1970(double seconds)
{
    return std::make_shared<Date>(seconds);
}

std::shared_ptr<Date> Date::dateWithTimeIntervalSinceNow(double seconds)
{
    return std::make_shared<Date>(Clock::currentTime() + seconds);
}

std::shared_ptr<Date> Date::distantPast()
{
    return std::make_shared<Date>(-62135596800.0);
}

std::shared_ptr<Date> Date::distantFuture()
{
    return std::make_shared<Date>(64092211200.0);
}

double Date::timeIntervalSinceNow() const
{
    return seconds_ - Clock::currentTime();
}

std::shared_ptr<Date> Date::laterDate(const std::shared_ptr<Date>& other)
{
    if (other && other->seconds_ > seconds_) return other;
    return self(this);
}

std::shared_ptr<Date> Date::earlierDate(const std::shared_ptr<Date>& other)
{
    if (other && other->seconds_ < seconds_) return other;
    return self(this);
}

Date::Order Date::compare(const Date& other) const
{
    if (seconds_ < other.seconds_) return Order::Ascending;
    if (seconds_ > other.seconds_) return Order::Descending;
    return Order::Same;
}

std::string Date::description() const
{
    static const DateFormatter formatter("yyyy-MM-dd HH:mm:ss ZZ");
    return formatter.stringFromDate(*this);
}

}  // namespace platform
