#include <cinttypes>
#include <cstdio>

#include "core/banners/HCNotificationData.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Location.h"
#include "scores/highscores/HCHighScoreService.h"
#include "transport/provider/HCActionRequest.h"

namespace {

constexpr const char* kDownloadedText = "Downloaded High Scores";

// Silent reads run without a banner; the others are foreground requests.
int readRequestType(bool silently)
{
    return silently ? HCActionRequest::kSilent : HCActionRequest::kBannerAlternate;
}

std::shared_ptr<HCHighScoreService> runningInHighScoreServiceQueries()
{
    HC_CHECK_MAIN_THREAD();
    return HCHighScoreService::sharedInstance();
}

}  // namespace

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPage(int page, int pageSize,
                                                             const std::optional<std::string>& leaderboardId,
                                                             const std::optional<std::string>& comparedToUserId,
                                                             bool friendsOnly, bool silently, unsigned timeScope,
                                                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = runningInHighScoreServiceQueries();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("leaderboard_id", leaderboardId);
    parameters.io("page", page);
    parameters.io("page_size", pageSize);
    if (timeScope != 0) {
        parameters.io("interval", timeScope);
    }
    if (friendsOnly) {
        parameters.io("friends_leaderboard", true);
        parameters.io("follower_id", "me");
    }
    if (comparedToUserId && !comparedToUserId->empty()) {
        parameters.io("compared_user_id", *comparedToUserId);
    }
    parameters.io("uses_gc", isLoggedIntoGameCenter() ? "1" : "0");
    return service->getAction(kSubmitPath, &parameters, onSuccess, onFailure, readRequestType(silently),
                              HCNotificationData::foreGroundDataWithText(kDownloadedText));
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPage(int page, const std::optional<std::string>& leaderboardId,
                                                             const std::optional<std::string>& comparedToUserId,
                                                             bool friendsOnly, bool silently, unsigned timeScope,
                                                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return getPage(page, 25, leaderboardId, comparedToUserId, friendsOnly, silently, timeScope, onSuccess, onFailure);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPage(int page, const std::optional<std::string>& leaderboardId,
                                                             const std::optional<std::string>& comparedToUserId,
                                                             bool friendsOnly, bool silently,
                                                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return getPage(page, leaderboardId, comparedToUserId, friendsOnly, silently, 0, onSuccess, onFailure);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPage(int page, const std::optional<std::string>& leaderboardId,
                                                             bool friendsOnly, bool silently,
                                                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return getPage(page, leaderboardId, std::nullopt, friendsOnly, silently, onSuccess, onFailure);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPage(int page, const std::optional<std::string>& leaderboardId,
                                                             bool friendsOnly, const HCDelegate& onSuccess,
                                                             const HCDelegate& onFailure)
{
    return getPage(page, leaderboardId, friendsOnly, false, onSuccess, onFailure);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPageWithLoggedInUserWithPageSize(
    int pageSize, const std::optional<std::string>& leaderboardId, bool silently, const HCDelegate& onSuccess,
    const HCDelegate& onFailure)
{
    auto service = runningInHighScoreServiceQueries();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("leaderboard_id", leaderboardId);
    parameters.io("near_user_id", "me");
    parameters.io("page_size", pageSize);
    return service->getAction(kSubmitPath, &parameters, onSuccess, onFailure, readRequestType(silently),
                              HCNotificationData::foreGroundDataWithText(kDownloadedText));
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPageWithLoggedInUserWithPageSize(
    int pageSize, const std::optional<std::string>& leaderboardId, const HCDelegate& onSuccess,
    const HCDelegate& onFailure)
{
    return getPageWithLoggedInUserWithPageSize(pageSize, leaderboardId, false, onSuccess, onFailure);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getPageWithLoggedInUserForLeaderboard(
    const std::optional<std::string>& leaderboardId, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return getPageWithLoggedInUserWithPageSize(25, leaderboardId, onSuccess, onFailure);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getHighScoreNearCurrentUserForLeaderboard(
    const std::optional<std::string>& leaderboardId, unsigned betterCount, unsigned worseCount,
    const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = runningInHighScoreServiceQueries();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("leaderboard_id", leaderboardId);
    parameters.io("near_user_id", "me");
    parameters.io("better_count", betterCount);
    parameters.io("worse_count", worseCount);
    return service->getAction(kSubmitPath, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

void HCHighScoreService::getHighScoresFromLocation(const std::shared_ptr<platform::ui::Location>& location,
                                                   int radius, int pageIndex,
                                                   const std::optional<std::string>& leaderboardId,
                                                   const std::optional<std::string>& userMapMode,
                                                   const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = runningInHighScoreServiceQueries();
    if (!service) return;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("geolocation", true);
    parameters.io("page", pageIndex);
    parameters.io("leaderboard_id", leaderboardId);
    if (radius != 0) {
        parameters.io("radius", radius);
    }
    if (location) {
        parameters.io("lat", location->coordinate().latitude);
        parameters.io("lng", location->coordinate().longitude);
    }
    if (userMapMode) {
        parameters.io("map_me", *userMapMode);
    }
    service->getAction(kSubmitPath, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate, nullptr);
}

void HCHighScoreService::getHighScoresFromLocation(const std::shared_ptr<platform::ui::Location>& location,
                                                   int radius, int pageIndex,
                                                   const std::optional<std::string>& leaderboardId,
                                                   const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    getHighScoresFromLocation(location, radius, pageIndex, leaderboardId, std::nullopt, onSuccess, onFailure);
}

void HCHighScoreService::getAllHighScoresForLoggedInUser(const HCDelegate& onSuccess, const HCDelegate& onFailure,
                                                         const std::optional<std::string>& optionalMessage)
{
    auto service = runningInHighScoreServiceQueries();
    if (!service) return;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("across_leaderboards", true);
    parameters.io("user_id", "me");
    platform::ObjectPtr notice = HCNotificationData::dataWithText(
        optionalMessage.value_or(kDownloadedText), HCNotificationCategoryHighScore, HCNotificationTypeDownloading);
    service->getAction(kSubmitPath, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate, notice);
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::getDistributedHighScoresAtPage(
    int page, int pageSize, std::int64_t scoreDelta, std::int64_t startScore,
    const std::optional<std::string>& leaderboardId, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    // Scores are 64-bit: the start and the step are written whole.
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%" PRId64 "/%" PRId64 "/%d/%d.xml", startScore, scoreDelta, page,
                  pageSize);
    const auto path = HCServicePath::format(std::string("leaderboards/%@/high_scores/range/") + numbers, {leaderboardId});
    auto service = HCServicePath::serviceFor<HCHighScoreService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}
