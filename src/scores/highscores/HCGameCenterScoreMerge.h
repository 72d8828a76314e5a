#pragma once
// Game Center scores shown among the service's scores on a leaderboard page.
// The leaderboard page hands over the sections it received; what comes back
// is new throughout (series, sections, pages and every re-ranked score), so
// the page's own copy stays as the service sent it.
//
// Thread: any thread; it reads its inputs and builds new objects only.
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"

namespace platform::gamecenter {
class Score;
}

namespace HCGameCenterScoreMerge {

// Rows a section shows at most.
inline constexpr std::size_t kSectionPageSize = 25;

// One page: the service page's scores (other objects are left out) and the
// Game Center scores it does not hold already, in score order, ranked from
// 1. The service holds a Game Center score when one of its scores has the
// same value and that score's Game Center time is the same whole second; of
// several Game Center scores in one second only the last takes part. On
// equal values the service's score comes first. `page` may be nil.
HCPaginatedSeriesPtr combineScope(const std::vector<std::shared_ptr<platform::gamecenter::Score>>& gameCenterScores,
                                  const HCPaginatedSeriesPtr& page, bool descending);

// Merges one page with the Game Center scores (combineScope bound to the
// board's scores and order).
using ScopeMerge = std::function<HCPaginatedSeriesPtr(const HCPaginatedSeriesPtr& page)>;

// The leaderboard page's sections: the first as it came, a "Friends" section
// with the friends page second, then the rest. With `mergeScope`, the
// second of the given sections gets the merged scores (a page without one
// gets an "Everyone" section of Game Center scores alone) and the scores of
// the first section (the player's own row) take their merged ranks. Every
// section shows at most kSectionPageSize rows.
HCPaginatedSeriesPtr combineSections(const HCPaginatedSeriesPtr& globals, const HCPaginatedSeriesPtr& friends,
                                     const ScopeMerge& mergeScope);

}  // namespace HCGameCenterScoreMerge
