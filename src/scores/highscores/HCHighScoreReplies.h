#pragma once
// Reading a score reply: the page it is about (a sectioned reply's last
// section, whose page follows the "My Score" section) and its scores.
//
// Thread: any; pure functions of the series.
#include <memory>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "scores/highscores/HCHighScore.h"

inline std::shared_ptr<HCPaginatedSeries> HCHighScorePageOf(const std::shared_ptr<HCPaginatedSeries>& series)
{
    if (series && series->count() > 0 && platform::as<HCTableSectionDescription>(series->objectAtIndex(0))) {
        auto last = platform::as<HCTableSectionDescription>(series->objects().back());
        return last ? last->page() : nullptr;
    }
    return series;
}

inline std::vector<std::shared_ptr<HCHighScore>> HCHighScoresIn(const std::shared_ptr<HCPaginatedSeries>& series)
{
    std::vector<std::shared_ptr<HCHighScore>> scores;
    for (const auto& object : series ? series->objects() : HCPaginatedSeries::Objects{}) {
        if (auto score = platform::as<HCHighScore>(object)) scores.push_back(std::move(score));
    }
    return scores;
}
