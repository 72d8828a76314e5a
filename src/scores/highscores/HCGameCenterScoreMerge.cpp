#include "scores/highscores/HCGameCenterScoreMerge.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "core/replies/HCTableSectionDescription.h"
#include "platform/gamecenter/GameCenter.h"
#include "scores/highscores/HCHighScore.h"

namespace {

namespace gc = platform::gamecenter;
using Section = HCTableSectionDescription;

// A Game Center date as the service keeps a score's Game Center time: whole
// seconds since 1970 in 32 bits. Dates it cannot hold match no service score.
std::optional<std::uint32_t> serviceSeconds(double date)
{
    if (!std::isfinite(date) || date < 0 || date >= 4294967296.0) return std::nullopt;
    return static_cast<std::uint32_t>(date);
}

// The Game Center scores that take part: one per second, the last of it,
// and none that the service page holds already; in their given order.
std::vector<std::shared_ptr<gc::Score>> newToThePage(const std::vector<std::shared_ptr<gc::Score>>& scores,
                                                     const std::vector<std::shared_ptr<HCHighScore>>& servicePage)
{
    std::vector<bool> takesPart(scores.size(), false);
    std::map<std::uint32_t, std::size_t> lastOfSecond;
    for (std::size_t i = 0; i < scores.size(); ++i) {
        if (!scores[i]) continue;
        takesPart[i] = true;
        auto second = serviceSeconds(scores[i]->date());
        if (!second) continue;
        auto [slot, fresh] = lastOfSecond.try_emplace(*second, i);
        if (!fresh) {
            takesPart[slot->second] = false;
            slot->second = i;
        }
    }
    for (const auto& score : servicePage) {
        auto found = lastOfSecond.find(score->gameCenterSeconds());
        if (found != lastOfSecond.end() && scores[found->second]->value() == score->score()) {
            takesPart[found->second] = false;
        }
    }
    std::vector<std::shared_ptr<gc::Score>> kept;
    for (std::size_t i = 0; i < scores.size(); ++i) {
        if (takesPart[i]) kept.push_back(scores[i]);
    }
    return kept;
}

std::vector<std::shared_ptr<HCHighScore>> scoresOf(const HCPaginatedSeriesPtr& page)
{
    std::vector<std::shared_ptr<HCHighScore>> scores;
    if (!page) return scores;
    for (const auto& object : page->objects()) {
        if (auto score = platform::as<HCHighScore>(object)) scores.push_back(score);
    }
    return scores;
}

// The same section showing another page.
std::shared_ptr<Section> withPage(const Section& section, HCPaginatedSeriesPtr page)
{
    auto copy = Section::sectionWithTitle(section.title(), std::move(page));
    copy->setIdentifier(section.identifier());
    copy->setStaticCells(section.staticCells());
    copy->setHeaderView(section.headerView());
    return copy;
}

// The page's first rows, each score that `ranks` names as a copy at that rank.
HCPaginatedSeriesPtr firstRowsRanked(const HCPaginatedSeriesPtr& page, const std::map<std::string, int>& ranks)
{
    if (!page) return nullptr;
    HCPaginatedSeries::Objects rows;
    for (const auto& object : page->objects()) {
        if (rows.size() == HCGameCenterScoreMerge::kSectionPageSize) break;
        auto score = platform::as<HCHighScore>(object);
        auto rank = score && score->resourceId() ? ranks.find(*score->resourceId()) : ranks.end();
        if (rank == ranks.end()) {
            rows.push_back(object);
            continue;
        }
        auto copy = HCHighScore::initWithOfScore(*score, score->rank());
        copy->setGameCenterId(score->gameCenterId());
        copy->setGameCenterName(score->gameCenterName());
        copy->setOverrideRank(rank->second);
        rows.push_back(copy);
    }
    auto copy = HCPaginatedSeries::paginatedSeriesFromSeries(page);
    auto header = copy->header();
    copy->setObjects(std::move(rows));
    copy->setHeader(std::move(header));
    copy->setTableMetaDataObjects(page->tableMetaDataObjects());
    return copy;
}

}  // namespace

namespace HCGameCenterScoreMerge {

HCPaginatedSeriesPtr combineScope(const std::vector<std::shared_ptr<gc::Score>>& gameCenterScores,
                                  const HCPaginatedSeriesPtr& page, bool descending)
{
    const auto service = scoresOf(page);
    auto gameCenter = newToThePage(gameCenterScores, service);
    std::stable_sort(gameCenter.begin(), gameCenter.end(), [descending](const auto& a, const auto& b) {
        return descending ? a->value() > b->value() : a->value() < b->value();
    });

    HCPaginatedSeries::Objects merged;
    merged.reserve(service.size() + gameCenter.size());
    auto rank = [&merged] { return static_cast<int>(merged.size()) + 1; };
    std::size_t s = 0;
    std::size_t g = 0;
    while (s < service.size() || g < gameCenter.size()) {
        bool takeService = g == gameCenter.size();
        if (s < service.size() && g < gameCenter.size()) {
            const auto value = gameCenter[g]->value();
            takeService = descending ? value <= service[s]->score() : value >= service[s]->score();
        }
        if (takeService) {
            merged.push_back(HCHighScore::initWithOfScore(*service[s++], rank()));
        } else {
            merged.push_back(HCHighScore::initWithGkScore(*gameCenter[g++], rank()));
        }
    }
    return HCPaginatedSeries::paginatedSeriesFromArray(merged);
}

HCPaginatedSeriesPtr combineSections(const HCPaginatedSeriesPtr& globals, const HCPaginatedSeriesPtr& friends,
                                     const ScopeMerge& mergeScope)
{
    auto result = HCPaginatedSeries::paginatedSeriesFromSeries(globals);
    auto sections = result->objects();
    std::map<std::string, int> ranks;
    if (mergeScope) {
        HCPaginatedSeriesPtr merged;
        if (sections.size() < 2) {
            merged = mergeScope(nullptr);
            sections.push_back(Section::sectionWithTitle(std::string("Everyone"), merged));
        } else if (auto second = platform::as<Section>(sections[1])) {
            merged = mergeScope(second->page());
            sections[1] = withPage(*second, merged);
        }
        for (const auto& score : scoresOf(merged)) {
            if (score->resourceId()) ranks.emplace(*score->resourceId(), score->rank());
        }
    }
    auto friendsSection =
        Section::sectionWithTitle(std::string("Friends"), HCPaginatedSeries::paginatedSeriesFromSeries(friends));
    sections.insert(sections.begin() + std::min<std::ptrdiff_t>(1, std::ssize(sections)), friendsSection);

    for (std::size_t i = 0; i < sections.size(); ++i) {
        if (auto section = platform::as<Section>(sections[i])) {
            sections[i] = withPage(*section, firstRowsRanked(section->page(), i == 0 ? ranks : decltype(ranks){}));
        }
    }
    auto header = result->header();
    result->setObjects(std::move(sections));
    result->setHeader(std::move(header));
    return result;
}

}  // namespace HCGameCenterScoreMerge
