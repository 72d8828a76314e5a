#include "scores/leaderboards/HCLeaderboardService.h"

#include <cmath>

#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/sql/HCSqlTransaction.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "scores/leaderboards/HCLeaderboardAggregation.h"
#include "scores/leaderboards/HCLeaderboard_Sync.h"
#include "scores/offline/HCIntegerText.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCOfflineService.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCLeaderboardService> sLeaderboardService;

// A definition without a readable sort order keeps the one the copy has
// (the values are read before REPLACE drops the old row).
constexpr const char* kServerSynchQuery =
    "REPLACE INTO leaderboards(id, name, descending_sort_order, active, is_aggregate, visible, "
    "allow_posting_lower_scores, start_version, end_version, server_sync_at) VALUES (:id, :name, "
    "COALESCE(:descending_sort_order, (SELECT descending_sort_order FROM leaderboards WHERE id = :id), 0), "
    ":active, :is_aggregate, :visible, :allow_posting_lower_scores, :start_version, :end_version, "
    ":server_sync_at)";
constexpr const char* kServerSynchAggQuery =
    "REPLACE INTO leaderboard_aggregations (aggregate_leaderboard_id, leaderboard_pushing_changes_id, "
    "server_sync_at) VALUES (:aggregate_leaderboard_id, :leaderboard_pushing_changes_id, :server_sync_at)";
constexpr const char* kLastSynchQuery =
    "SELECT datetime(MAX(server_sync_at), 'unixepoch') last_sync_date, MAX(server_sync_at) last_sync_unix FROM "
    "(SELECT MIN(server_sync_at) AS server_sync_at FROM (SELECT MAX(server_sync_at) AS server_sync_at FROM (SELECT "
    "MAX(server_sync_at) AS server_sync_at FROM high_scores WHERE user_id = :user_id AND server_sync_at IS NOT NULL "
    "UNION SELECT 0 AS server_sync_at) X UNION SELECT MAX(server_sync_at) AS server_sync_at FROM leaderboards WHERE "
    "server_sync_at IS NOT NULL) Y ) Z";
constexpr const char* kGetActiveLeaderboardsQuery =
    "SELECT * FROM leaderboards WHERE active = 1 AND visible = 1 AND (start_version <= :app_version AND "
    "end_version >= :app_version)";
constexpr const char* kGetLeaderboardQuery = "SELECT * FROM leaderboards WHERE id = :id ";
constexpr const char* kGetAggregateLeaderboardsQuery =
    "SELECT aggregate_leaderboard_id FROM leaderboard_aggregations WHERE leaderboard_pushing_changes_id = "
    ":leaderboard_pushing_changes_id ";

std::string flag(bool value)
{
    return value ? "1" : "0";
}

std::optional<std::string> nilWhenEmpty(const std::optional<std::string>& text)
{
    return text && !text->empty() ? text : std::nullopt;
}

// The board's row made into an object by `make`, on the calling thread's
// connection; nil, logged, when the board is not in the copy.
template <class Make>
auto lookUp(const std::optional<std::string>& leaderboardId, Make make) -> decltype(make(std::declval<HCSqlQuery&>()))
{
    decltype(make(std::declval<HCSqlQuery&>())) found;
    {
        auto query = HCOfflineDatabase::statementForCurrentThread(kGetLeaderboardQuery);
        query->bind("id", leaderboardId);
        if (leaderboardId && query->execute()) found = make(query.query());
    }
    if (!found)
        platform::log(platform::LogLevel::Info,
                      "Definition for leaderboard " + leaderboardId.value_or("(null)") + " was not found");
    return found;
}

}  // namespace

void HCLeaderboardService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sLeaderboardService) sLeaderboardService = HCService::create<HCLeaderboardService>();
}

void HCLeaderboardService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sLeaderboardService = nullptr;
}

std::shared_ptr<HCLeaderboardService> HCLeaderboardService::sharedInstance()
{
    return sLeaderboardService;
}

void HCLeaderboardService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCLeaderboard>(map);
}

std::shared_ptr<HCRequestHandle> HCLeaderboardService::getLeaderboardsForApplication(const Text& applicationId,
                                                                                     const Text& comparedUserId,
                                                                                     const HCDelegate& onSuccess,
                                                                                     const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (!HCClientState::isOnline()) {
        getLeaderboardsLocal(onSuccess, onFailure);
        return nullptr;
    }
    HCHttpNestedQueryStringWriter writer;
    if (comparedUserId && !comparedUserId->empty()) writer.io("compared_user_id", *comparedUserId);
    std::optional<std::string> path = "client_applications/@me/leaderboards.xml";
    if (applicationId && !applicationId->empty())
        path = HCServicePath::format("client_applications/%@/leaderboards.xml", {applicationId});
    auto service = HCServicePath::serviceFor<HCLeaderboardService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, &writer, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                              getDownloadNotification());
}

std::shared_ptr<HCRequestHandle> HCLeaderboardService::getIndexOnSuccess(const HCDelegate& onSuccess,
                                                                         const HCDelegate& onFailure)
{
    return getLeaderboardsForApplication(std::nullopt, std::nullopt, onSuccess, onFailure);
}

platform::ObjectPtr HCLeaderboardService::getDownloadNotification()
{
    return HCNotificationData::dataWithText("Downloaded Leaderboards", HCNotificationCategoryLeaderboard,
                                            HCNotificationTypeDownloading);
}

std::vector<std::shared_ptr<HCLeaderboard>> HCLeaderboardService::getLeaderboardsLocal()
{
    HC_CHECK_MAIN_THREAD();
    // The rows first: each score is read with statements of its own.
    std::vector<std::shared_ptr<HCLeaderboard>> leaderboards;
    {
        auto query = HCOfflineDatabase::statementForCurrentThread(kGetActiveLeaderboardsQuery);
        query->bind("app_version", HCOfflineService::getFormattedAppVersion());
        while (query->execute()) leaderboards.push_back(HCLeaderboard::initWithLocalSQL(query.query(), nullptr, nullptr));
    }
    auto user = Halcyon::localUser();
    for (auto& leaderboard : leaderboards) {
        if (leaderboard->leaderboardId())
            leaderboard->setCurrentUsersScore(HCHighScoreService::getHighScoreForUser(
                user, *leaderboard->leaderboardId(), leaderboard->descendingScoreOrder()));
    }
    return leaderboards;
}

void HCLeaderboardService::getLeaderboardsLocal(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    (void)onFailure;
    auto local = getLeaderboardsLocal();
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray({local.begin(), local.end()}));
}

std::shared_ptr<HCLeaderboard> HCLeaderboardService::getLeaderboard(const Text& leaderboardId)
{
    return lookUp(leaderboardId,
                  [](const HCSqlQuery& row) { return HCLeaderboard::initWithLocalSQL(row, nullptr, nullptr); });
}

bool HCLeaderboardService::hasLeaderboards()
{
    HC_CHECK_MAIN_THREAD();
    auto query = HCOfflineDatabase::statementForCurrentThread(kGetActiveLeaderboardsQuery);
    query->bind("app_version", HCOfflineService::getFormattedAppVersion());
    return query->execute();
}

std::shared_ptr<HCLeaderboard_Sync> HCLeaderboardService::getLeaderboardDetails(const Text& leaderboardId)
{
    return lookUp(leaderboardId, &HCLeaderboard_Sync::initWithLocalSQL);
}

std::vector<std::shared_ptr<HCLeaderboard_Sync>> HCLeaderboardService::getAggregateParents(const Text& leaderboardId)
{
    // The ids first: the look-ups below run statements of their own.
    std::vector<std::string> aggregateIds;
    {
        auto query = HCOfflineDatabase::statementForCurrentThread(kGetAggregateLeaderboardsQuery);
        query->bind("leaderboard_pushing_changes_id", leaderboardId);
        while (leaderboardId && query->execute()) {
            if (auto id = query->getTextValue("aggregate_leaderboard_id")) aggregateIds.push_back(*id);
        }
    }
    std::vector<std::shared_ptr<HCLeaderboard_Sync>> parents;
    for (const auto& id : aggregateIds) {
        auto details = getLeaderboardDetails(id);
        if (!details) {
            platform::log(platform::LogLevel::Info, "Definition for aggregate leaderboard " + id + " was not found");
            continue;
        }
        if (details->active()) parents.push_back(details);
    }
    return parents;
}

std::string HCLeaderboardService::getLastSyncDateForUserId(const Text& userId)
{
    HC_CHECK_MAIN_THREAD();
    auto query = HCOfflineDatabase::statementForCurrentThread(kLastSynchQuery);
    query->bind("user_id", userId);
    query->execute();
    return query->getTextValue("last_sync_date").value_or("1970-01-01 00:00:00");
}

std::string HCLeaderboardService::getLastSyncDateUnixForUserId(const Text& userId)
{
    auto query = HCOfflineDatabase::statementForCurrentThread(kLastSynchQuery);
    query->bind("user_id", userId);
    query->execute();
    return query->getTextValue("last_sync_unix").value_or("0");
}

bool HCLeaderboardService::synchLeaderboardsList(
    const std::vector<std::shared_ptr<HCLeaderboard_Sync>>& leaderboards,
    const std::vector<std::shared_ptr<HCLeaderboardAggregation>>& aggregations, const Text& userId, bool setSynchTime)
{
    double now = platform::Clock::current()->now();
    Text syncTime;
    if (setSynchTime) syncTime = std::to_string(static_cast<long long>(std::trunc(now)));

    // Ids go into INTEGER columns: a record whose id is not an integer is
    // skipped, and so are the scores of a user whose id is not one.
    auto integer = [](const Text& id) { return id && HCIsIntegerText(*id); };
    HCSqlTransaction transaction(HCOfflineDatabase::handleForCurrentThread());
    if (!transaction.begin()) return false;
    for (const auto& aggregation : aggregations) {
        if (!aggregation || !integer(aggregation->aggregateLeaderboardId()) ||
            !integer(aggregation->leaderboardPushingChangesId()))
            continue;
        auto query = HCOfflineDatabase::statementForCurrentThread(kServerSynchAggQuery);
        query->bind("aggregate_leaderboard_id", aggregation->aggregateLeaderboardId());
        query->bind("leaderboard_pushing_changes_id", aggregation->leaderboardPushingChangesId());
        query->bind("server_sync_at", syncTime);
        query->execute();
        if (query->result() != 0) return false;
    }
    auto hooks = HCOfflineService::hooks();
    for (const auto& leaderboard : leaderboards) {
        if (!leaderboard || !integer(leaderboard->resourceId())) continue;
        {
            auto query = HCOfflineDatabase::statementForCurrentThread(kServerSynchQuery);
            query->bind("id", leaderboard->resourceId());
            query->bind("name", leaderboard->name());
            const auto& order = leaderboard->descendingSortOrderIfKnown();
            query->bind("descending_sort_order", order ? std::optional<std::string>(flag(*order)) : std::nullopt);
            query->bind("active", flag(leaderboard->active()));
            query->bind("visible", flag(leaderboard->visible()));
            query->bind("is_aggregate", flag(leaderboard->isAggregate()));
            query->bind("allow_posting_lower_scores", flag(leaderboard->allowPostingLowerScores()));
            query->bind("start_version", leaderboard->startVersion());
            query->bind("end_version", leaderboard->endVersion());
            query->bind("server_sync_at", syncTime);
            query->execute();
            if (query->result() != 0) return false;
        }
        if (!setSynchTime || leaderboard->score() <= 0 || !integer(userId) || !hooks.recordServerScore) continue;
        HCServerScore score;
        score.userId = *userId;
        score.leaderboardId = *leaderboard->resourceId();
        score.score = leaderboard->score();
        score.displayText = nilWhenEmpty(leaderboard->displayText());
        score.customData = nilWhenEmpty(leaderboard->customData());
        // The server holds this score: a date that did not read is now, and
        // the score stays confirmed rather than turning pending.
        score.serverDate = leaderboard->reachedAt() ? leaderboard->reachedAt()
                                                    : platform::Date::dateWithTimeIntervalSince1970(std::trunc(now));
        // The store may refuse it (an aggregate board, a better score kept);
        // its own savepoint keeps a refused write from touching the rest.
        hooks.recordServerScore(score);
    }
    return transaction.commit();
}
