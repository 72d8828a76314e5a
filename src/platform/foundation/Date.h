#pragma once
// A point in time: seconds since 1970-01-01 00:00:00 UTC, immutable.
//
// "Now" reads platform::Clock, so tests control it with a manual clock.
//
// Thread: any thread (immutable).
#include <memory>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

class Date final : public Object {
public:
    enum class Order { Ascending = -1, Same = 0, Descending = 1 };

    explicit Date(double secondsSince1970) : seconds_(secondsSince1970) {}

    static std::shared_ptr<Date> now();
    static std::shared_ptr<Date> dateWithTimeIntervalSince1970(double seconds);
    static std::shared_ptr<Date> dateWithTimeIntervalSinceNow(double seconds);
    // 0001-01-01 00:00:00 UTC and 4001-01-01 00:00:00 UTC.
    static std::shared_ptr<Date> distantPast();
    static std::shared_ptr<Date> distantFuture();

    double timeIntervalSince1970() const { return seconds_; }
    double timeIntervalSinceNow() const;
    double timeIntervalSinceDate(const Date& other) const { return seconds_ - other.seconds_; }

    // The later (earlier) of this date and `other`; this very object when both
    // are the same instant or `other` is nil.
    std::shared_ptr<Date> laterDate(const std::shared_ptr<Date>& other);
    std::shared_ptr<Date> earlierDate(const std::shared_ptr<Date>& other);
    // Ascending when this date is earlier than `other`.
    Order compare(const Date& other) const;
    bool isEqualToDate(const Date& other) const { return seconds_ == other.seconds_; }

    // "2026-01-01 00:00:00 +0000".
    std::string description() const override;

private:
    double seconds_;
};

using DatePtr = std::shared_ptr<Date>;

}  // namespace platform
