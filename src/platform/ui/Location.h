#pragma once
// Places on the Earth: a coordinate (degrees of latitude, north positive, and
// longitude, east positive) and a location object around one, whose distance
// to another is the great-circle distance in metres on a sphere of the
// Earth's mean radius.
//
// Thread: plain values and an immutable object; use them anywhere.
#include <memory>

#include "platform/runtime/Object.h"

namespace platform::ui {

struct Coordinate {
    double latitude = 0;
    double longitude = 0;
    bool operator==(const Coordinate&) const = default;
};

class Location final : public Object {
public:
    static constexpr double kEarthRadiusMetres = 6371008.8;

    explicit Location(Coordinate coordinate) : coordinate_(coordinate) {}
    static std::shared_ptr<Location> make(double latitude, double longitude)
    {
        return std::make_shared<Location>(Coordinate{latitude, longitude});
    }

    const Coordinate& coordinate() const { return coordinate_; }
    double distanceFromLocation(const Location& other) const;

private:
    Coordinate coordinate_;
};

using LocationPtr = std::shared_ptr<Location>;

}  // namespace platform::ui
