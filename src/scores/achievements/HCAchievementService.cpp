#include "scores/achievements/HCAchievementService.h"

#include <cmath>
#include <cstdlib>
#include <set>

#include "core/banners/HCNotification.h"
#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementGameCenter.h"
#include "scores/achievements/HCAchievementStore.h"
#include "scores/achievements/HCGameCenterAchievement.h"
#include "scores/achievements/HCUnlockedAchievement.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCOfflineService.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCAchievementService> sInstance;

// A user id the service can write for: a positive number.
bool isUser(const std::string& userId)
{
    return std::strtoll(userId.c_str(), nullptr, 10) > 0;
}

HCOfflineConnection* mainConnection()
{
    auto database = HCOfflineDatabase::current();
    return database ? &database->mainConnection() : nullptr;
}

HCOfflineConnection* callingThreadsConnection()
{
    auto database = HCOfflineDatabase::current();
    return database ? &database->forCurrentThread() : nullptr;
}

// The achievement banner; an achievement the store could not give shows the plain one.
void showAchievementNotice(const std::shared_ptr<HCAchievement>& achievement, double percentComplete)
{
    std::optional<HCAchievementNoticeInfo> info;
    if (achievement) {
        info = HCAchievementNoticeInfo{achievement->resourceId().value_or(""), achievement->title().value_or(""),
                                       static_cast<int>(achievement->gamerscore()), achievement->iconUrl(),
                                       achievement};
    }
    HCNotification::sharedInstance()->showAchievementNotice(info, percentComplete);
}

void submitToGameCenterOnly(std::vector<std::string> ids, std::vector<double> percents, const HCDelegate& onSuccess,
                            const HCDelegate& onFailure)
{
    std::make_shared<HCSubmitAchievementToGameCenterOnly>()->submitToGameCenterOnlyWithIds(ids, percents, onSuccess,
                                                                                           onFailure);
}

}  // namespace

void HCAchievementService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sInstance) sInstance = HCService::create<HCAchievementService>();
}

void HCAchievementService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sInstance = nullptr;
}

std::shared_ptr<HCAchievementService> HCAchievementService::sharedInstance()
{
    return sInstance;
}

void HCAchievementService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCAchievement>(map);
    HCAddKnownResource<HCUnlockedAchievement>(map);
}

std::string HCAchievementService::lastLoggedInUserId()
{
    auto userId = HCClientState::lastLoggedInUserId();
    return userId && isUser(*userId) ? *userId : "0";
}

double HCAchievementService::clampPercent(double percentComplete)
{
    if (!(percentComplete < 100.0)) percentComplete = 100.0;
    if (percentComplete < 0.0) percentComplete = 0.0;
    return HCAchievementStore::atWirePrecision(percentComplete);
}

// ===== The list ================================================================

void HCAchievementService::getAchievementsForApplication(const Text& applicationId, const Text& comparedToUserId,
                                                         unsigned page, bool silently, const HCDelegate& onSuccess,
                                                         const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (!HCClientState::isOnline()) {
        getAchievementsLocal(onSuccess, onFailure);
        return;
    }
    auto service = sharedInstance();
    if (!service) return;
    HCHttpNestedQueryStringWriter writer;
    if (applicationId && !applicationId->empty() && *applicationId != "@me") writer.io("by_app", *applicationId);
    if (comparedToUserId) writer.io("compared_to_user_id", *comparedToUserId);
    writer.io("page", page);
    writer.io("per_page", kPerPage);
    writer.io("get_unlocked_info", true);
    service->getAction("client_applications/@me/achievement_definitions.xml", &writer, onSuccess, onFailure,
                       silently ? HCActionRequest::kSilent : HCActionRequest::kBannerAlternate,
                       HCNotificationData::foreGroundDataWithText("Downloaded Achievement Information"));
}

// ===== Progress ==================================================================

HCRequestHandlePtr HCAchievementService::updateAchievement(const std::string& achievementId, double percentComplete,
                                                           bool showNotification, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    const double percent = clampPercent(percentComplete);
    if (!Halcyon::hasUserApprovedHalcyon()) {
        if (HCAchievementGameCenter::isLoggedIntoGameCenter())
            submitToGameCenterOnly({achievementId}, {percent}, onSuccess, onFailure);
        return nullptr;
    }
    // Before anyone logged in the progress is kept for user "0"; the first
    // player to log in takes it over with the upload.
    const std::string userId = HCAchievementService::lastLoggedInUserId();
    if (getPercentComplete(achievementId, userId) >= percent) {
        onFailure.invoke(nullptr);
        return nullptr;
    }
    // An achievement the store does not know (a stub from achievement:) is
    // refused: its row would stay pending for ever, the server calling it invalid.
    if (!getAchievement(achievementId) || !localUpdateAchievement(achievementId, userId, percent)) {
        onFailure.invoke(nullptr);
        return nullptr;
    }
    HCRequestHandlePtr handle;
    // An unlock goes out at once, to the service and to Game Center; a post
    // that fails (offline) leaves the row pending for the upload after the
    // next log-in.
    if (percent == 100.0) {
        handle = std::make_shared<HCGameCenterAchievement>(userId, std::vector<std::string>{achievementId},
                                                           std::vector<double>{percent}, false, false)
                     ->submitOnSuccess(HCDelegate(), HCDelegate());
    }
    if (showNotification) showAchievementNotice(getAchievementLocalWithUnlockInfo(achievementId), percent);
    onSuccess.invoke(nullptr);
    if (percent < 100.0 && HCAchievementGameCenter::isLoggedIntoGameCenter())
        submitToGameCenterOnly({achievementId}, {percent}, HCDelegate(), HCDelegate());
    return handle;
}

void HCAchievementService::queueUpdateAchievement(const std::string& achievementId, double percentComplete,
                                                  bool showNotification)
{
    HC_CHECK_MAIN_THREAD();
    const std::string userId = HCAchievementService::lastLoggedInUserId();
    const double stored = getPercentComplete(achievementId, userId);
    const double percent = clampPercent(percentComplete);
    if (!Halcyon::hasUserApprovedHalcyon()) {
        auto service = sharedInstance();
        if (service && HCAchievementGameCenter::isLoggedIntoGameCenter()) {
            service->onlySubmitToGameCenterDeferedAchievementIds_.push_back(achievementId);
            service->onlySubmitToGameCenterDeferedAchievementPercentCompletes_.push_back(percent);
        }
        return;
    }
    if (stored >= percent) return;
    auto definition = getAchievement(achievementId);
    if (!definition || !localUpdateAchievement(achievementId, userId, percent)) return;
    if (showNotification) showAchievementNotice(definition, percent);
}

HCRequestHandlePtr HCAchievementService::submitQueuedUpdateAchievements(const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    std::vector<std::string> ids;
    std::vector<double> percents;
    if (auto service = sharedInstance()) {
        ids.swap(service->onlySubmitToGameCenterDeferedAchievementIds_);
        percents.swap(service->onlySubmitToGameCenterDeferedAchievementPercentCompletes_);
    }
    const std::string userId = HCAchievementService::lastLoggedInUserId();
    if (Halcyon::hasUserApprovedHalcyon()) {
        // Queued values only ever raise what is stored.
        for (size_t i = 0; i < ids.size() && i < percents.size(); ++i) {
            if (getPercentComplete(ids[i], userId) < percents[i] && getAchievement(ids[i]))
                localUpdateAchievement(ids[i], userId, percents[i]);
        }
        return sendPendingAchievements(userId, false, onSuccess, onFailure);
    }
    if (HCAchievementGameCenter::isLoggedIntoGameCenter()) submitToGameCenterOnly(ids, percents, onSuccess, onFailure);
    return nullptr;
}

// ===== The local store =============================================================

bool HCAchievementService::hasAchievements()
{
    auto* connection = mainConnection();
    return connection && HCAchievementStore::hasAchievements(*connection);
}

std::shared_ptr<HCAchievement> HCAchievementService::getAchievement(const std::string& achievementId)
{
    auto* connection = mainConnection();
    return connection ? HCAchievementStore::definition(*connection, achievementId) : nullptr;
}

std::shared_ptr<HCAchievement> HCAchievementService::getAchievementLocalWithUnlockInfo(const std::string& achievementId)
{
    auto* connection = mainConnection();
    if (!connection) return nullptr;
    return HCAchievementStore::achievementWithProgress(*connection, HCOfflineService::getFormattedAppVersion(),
                                                       HCAchievementService::lastLoggedInUserId(), achievementId);
}

std::vector<std::shared_ptr<HCAchievement>> HCAchievementService::getAchievementsLocal()
{
    auto* connection = mainConnection();
    if (!connection) return {};
    return HCAchievementStore::achievementsWithProgress(*connection, HCOfflineService::getFormattedAppVersion(),
                                                        HCAchievementService::lastLoggedInUserId());
}

void HCAchievementService::getAchievementsLocal(const HCDelegate& onSuccess, const HCDelegate& /*onFailure*/)
{
    HCPaginatedSeries::Objects objects;
    for (const auto& achievement : getAchievementsLocal()) objects.push_back(achievement);
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray(objects));
}

double HCAchievementService::getPercentComplete(const std::string& achievementId, const std::string& userId)
{
    auto* connection = mainConnection();
    return connection ? HCAchievementStore::percentComplete(*connection, achievementId, userId) : 0.0;
}

bool HCAchievementService::localUpdateAchievement(const std::string& achievementId, const std::string& userId,
                                                  double percentComplete)
{
    auto* connection = mainConnection();
    if (!connection) return false;
    auto definition = HCAchievementStore::definition(*connection, achievementId);
    const uint32_t gamerscore = definition ? definition->gamerscore() : 0;
    const bool firstUnlock =
        percentComplete == 100.0 && HCAchievementStore::percentComplete(*connection, achievementId, userId) != 100.0;
    if (!HCAchievementStore::writeLocalProgress(*connection, achievementId, userId, percentComplete)) return false;
    // Counted once the unlock is stored, so a failed write adds nothing.
    if (firstUnlock && gamerscore >= 1) {
        if (auto user = Halcyon::localUser()) {
            user->adjustGamerscore(static_cast<int32_t>(std::min<uint32_t>(gamerscore, INT32_MAX)));
            Halcyon::setLocalUser(user);
        }
    }
    return true;
}

std::string HCAchievementService::getLastSyncDateForUserId(const Text& userId)
{
    auto* connection = mainConnection();
    return connection ? HCAchievementStore::lastSyncDate(*connection, userId) : "1970-01-01 00:00:00";
}

bool HCAchievementService::synchAchievementsList(const std::vector<std::shared_ptr<HCAchievement>>& achievements,
                                                 const Text& userId)
{
    auto* connection = callingThreadsConnection();
    return connection && HCAchievementStore::writeDefinitions(*connection, achievements, userId);
}

bool HCAchievementService::synchUnlockedAchievement(const std::string& achievementId, const std::string& userId,
                                                    const std::string& gamerscore, const platform::DatePtr& serverDate,
                                                    double percentComplete)
{
    auto* connection = callingThreadsConnection();
    return connection &&
           HCAchievementStore::writeConfirmed(*connection, achievementId, userId, gamerscore, serverDate, percentComplete);
}

// ===== The upload ==================================================================

HCRequestHandlePtr HCAchievementService::sendPendingAchievements(const std::string& userId, bool syncOnly,
                                                                 const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (!HCClientState::isOnline() || !isUser(userId)) return nullptr;
    std::vector<std::string> ids;
    std::vector<double> percents;
    if (HCAchievementGameCenter::isLoggedIntoGameCenter() && !Halcyon::isSynchedWithGameCenterAchievements()) {
        for (const auto& achievement : getAchievementsLocal()) {
            if (!achievement->resourceId()) continue;
            ids.push_back(*achievement->resourceId());
            percents.push_back(achievement->percentComplete());
        }
        HCRequestHandlePtr handle;
        if (!ids.empty()) {
            handle = std::make_shared<HCGameCenterAchievement>(userId, ids, percents, true, syncOnly)
                         ->submitOnSuccess(onSuccess, onFailure);
        }
        Halcyon::setSynchWithGameCenterAchievements(true);
        return handle;
    }
    auto* connection = mainConnection();
    if (!connection) return nullptr;
    HCAchievementStore::adoptRowsWithoutUser(*connection, userId);
    for (const auto& pending : HCAchievementStore::pendingAchievements(*connection, userId)) {
        ids.push_back(pending.achievementId);
        percents.push_back(pending.percentComplete);
    }
    if (ids.empty()) return nullptr;
    return std::make_shared<HCGameCenterAchievement>(userId, ids, percents, true, syncOnly)
        ->submitOnSuccess(onSuccess, onFailure);
}

HCRequestHandlePtr HCAchievementService::updateAchievements(const std::vector<std::string>& achievementIds,
                                                            const std::vector<double>& percentsComplete,
                                                            const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCHttpNestedQueryStringWriter writer;
    bool wroteAny = false;
    {
        HCISerializer::Scope list(&writer, "achievement_list", true);
        for (size_t i = 0; i < achievementIds.size() && i < percentsComplete.size(); ++i) {
            if (achievementIds[i].empty()) continue;
            HCISerializer::Scope entry(&writer, "achievement");
            writer.io("achievement_definition_id", achievementIds[i]);
            writer.io("percent_complete", percentsComplete[i]);
            wroteAny = true;
        }
    }
    auto service = sharedInstance();
    if (!wroteAny || !service) {
        onFailure.invoke(nullptr);
        return nullptr;
    }
    auto handle = service->postAction(
        "users/@me/unlocked_achievements.xml", &writer, onSuccess, onFailure, HCActionRequest::kSilent,
        HCNotificationData::dataWithText("Submitted Unlocked Achivements", HCNotificationCategoryAchievement,
                                         HCNotificationTypeSubmitting));
    // A request the provider did not start never answers: it failed.
    if (!handle) onFailure.invoke(nullptr);
    return handle;
}

void HCAchievementService::syncOfflineAchievements(const std::shared_ptr<HCPaginatedSeries>& page,
                                                   const std::string& userId,
                                                   const std::vector<std::string>& sentIds)
{
    if (!page) return;
    std::set<int64_t> sent;
    for (const auto& id : sentIds)
        if (auto number = HCAchievementStore::achievementNumber(id)) sent.insert(*number);
    for (const auto& object : page->objects()) {
        auto entry = platform::as<HCUnlockedAchievement>(object);
        if (!entry || entry->isInvalidResult() || !entry->achievement() || !entry->achievement()->resourceId())
            continue;
        // Only what was asked is answered; an entry for anything else would
        // write progress the player never made.
        const auto number = HCAchievementStore::achievementNumber(*entry->achievement()->resourceId());
        if (!number || !sent.count(*number)) continue;
        const auto& achievement = entry->achievement();
        auto date = achievement->unlockDate() ? achievement->unlockDate() : platform::Date::now();
        synchUnlockedAchievement(std::to_string(*number), userId, std::to_string(achievement->gamerscore()), date,
                                 entry->percentComplete());
    }
}

void HCAchievementService::finishAchievementsPage(const std::shared_ptr<HCPaginatedSeries>& page, bool duringSync,
                                                  bool /*fromBatch*/)
{
    if (!page || page->count() < 2 || duringSync) return;
    HCNotification::sharedInstance()->showBackgroundNotice(
        HCNotificationData::dataWithText("Submitted Achievements To Server", HCNotificationCategoryAchievement,
                                         HCNotificationTypeSuccess),
        HCNotificationStatusSuccess);
}
