#include "platform/ui/Location.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::ui {

double Location::distanceFromLocation(const Location& other) const
{
    // Haversine: stable for short distances, where the cosine rule loses digits.
    constexpr double toRadians = std::numbers::pi / 180.0;
    const double lat1 = coordinate_.latitude * toRadians;
    const double lat2 = other.coordinate_.latitude * toRadians;
    const double dLat = lat2 - lat1;
    const double dLon = (other.coordinate_.longitude - coordinate_.longitude) * toRadians;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadiusMetres * std::asin(std::min(1.0, std::sqrt(h)));
}

}  // namespace platform::ui
