#include "scores/offline/HCOfflineService.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>

#include "core/bootstrap/HCBootstrap.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/settings/HCSettings.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/TextConversions.h"
#include "platform/runtime/Guarded.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/leaderboards/HCLeaderboardAggregation.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/leaderboards/HCLeaderboard_Sync.h"
#include "scores/offline/HCOffline.h"
#include "scores/offline/HCIntegerText.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCUserService+Private.h"

namespace {

std::shared_ptr<HCOfflineService> sOfflineService;

platform::Guarded<HCOfflineHooks>& hooksSlot()
{
    static auto* slot = new platform::Guarded<HCOfflineHooks>();
    return *slot;
}

// Read from the main thread and the request thread.
platform::Guarded<std::optional<std::string>>& formattedAppVersion()
{
    static auto* slot = new platform::Guarded<std::optional<std::string>>();
    return *slot;
}

template <class T>
std::vector<std::shared_ptr<T>> resourcesOf(const std::shared_ptr<platform::Array>& array)
{
    std::vector<std::shared_ptr<T>> resources;
    for (const auto& item : array->items()) {
        if (auto resource = platform::as<T>(item)) resources.push_back(resource);
    }
    return resources;
}

// The block's leaderboards and their links; false when a row was not written.
bool synchLeaderboards(const HCOffline& offline, const std::optional<std::string>& userId, bool setSynchTime)
{
    return HCLeaderboardService::synchLeaderboardsList(
        resourcesOf<HCLeaderboard_Sync>(offline.leaderboards()),
        resourcesOf<HCLeaderboardAggregation>(offline.leaderboardAggregations()), userId, setSynchTime);
}

// The block's achievements; false when a row was not written.
bool synchAchievements(const HCOffline& offline, const std::optional<std::string>& userId)
{
    auto synch = HCOfflineService::hooks().synchAchievementsList;
    return !synch || synch(offline.achievements(), userId);
}

std::optional<long long> modificationTime(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return static_cast<long long>(info.st_mtim.tv_sec);
}

}  // namespace

void HCOfflineService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (sOfflineService) return;
    formattedAppVersion().set(std::nullopt);
    sOfflineService = HCService::create<HCOfflineService>();
    Halcyon::setupOfflineDatabase();
    if (auto database = HCOfflineDatabase::current())
        sOfflineService->schemaOutcome_ = HCOfflineSchema::setup(database->mainConnection());
    sOfflineService->importOfflineConfiguration();
}

void HCOfflineService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sOfflineService) return;
    sOfflineService = nullptr;
    formattedAppVersion().set(std::nullopt);
    Halcyon::teardownOfflineDatabase();
}

std::shared_ptr<HCOfflineService> HCOfflineService::sharedInstance()
{
    return sOfflineService;
}

void HCOfflineService::setHooks(HCOfflineHooks hooks)
{
    hooksSlot().set(std::move(hooks));
}

HCOfflineHooks HCOfflineService::hooks()
{
    return hooksSlot().get();
}

int HCOfflineService::getTableVersion(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    auto database = HCOfflineDatabase::current();
    return database ? HCOfflineSchema::getTableVersion(database->mainConnection(), name) : 0;
}

bool HCOfflineService::setTableVersion(const std::string& name, long long version)
{
    HC_CHECK_MAIN_THREAD();
    auto database = HCOfflineDatabase::current();
    return database && HCOfflineSchema::setTableVersion(database->mainConnection(), name, version);
}

std::string HCOfflineService::getFormattedAppVersion()
{
    // Computed on first use and kept until the store starts or stops.
    if (auto kept = formattedAppVersion().get()) return *kept;
    auto settings = HCSettings::Instance();
    std::string version =
        settings ? settings->objectForKey(HCSettings::kBundleVersionKey).value_or(std::string()) : std::string();
    int parts[3] = {0, 0, 0};
    std::istringstream components(version);
    std::string component;
    for (int i = 0; i < 3 && std::getline(components, component, '.'); ++i) parts[i] = platform::intValue(component);
    char formatted[48];
    std::snprintf(formatted, sizeof formatted, "%04i.%02i.%02i", parts[0], parts[1], parts[2]);
    formattedAppVersion().set(std::string(formatted));
    return formatted;
}

bool HCOfflineService::importOfflineConfiguration()
{
    HC_CHECK_MAIN_THREAD();
    if (!platform::Sandbox::isConfigured()) return false;
    std::string path = platform::Sandbox::bundlePath() + "/" + kConfigFileName;
    auto fileDate = modificationTime(path);
    if (!fileDate) return false;
    auto recorded = getTableVersion(HCOfflineSchema::kConfigFileDateRow);
    if (recorded == *fileDate) return false;

    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    bool written = true;
    // A file that does not read to its end is not imported in part (a board
    // cut before its sort order would read as ascending); being the bundle's,
    // it stays as it is, so it counts as imported like one that holds
    // nothing usable.
    auto document = HCXmlDocument::xmlDocumentWithData(bytes);
    if (document->isWhole()) {
        auto series = HCResource::resourcesFromXml(*document, getKnownResources().get());
        for (const auto& object : series ? series->objects() : HCPaginatedSeries::Objects()) {
            if (auto offline = platform::as<HCOffline>(object)) {
                written = synchLeaderboards(*offline, std::nullopt, false) && written;
                written = synchAchievements(*offline, std::nullopt) && written;
            } else if (auto info = platform::as<HCGameProfilePageInfo>(object)) {
                Halcyon::setLocalGameProfileInfo(info);
            }
        }
    }
    // A file that holds nothing usable counts as imported; one whose rows
    // could not be written is tried again at the next start.
    if (!written) return false;
    setTableVersion(HCOfflineSchema::kConfigFileDateRow, *fileDate);
    return true;
}

void HCOfflineService::getBootstrapCallParams(HCHttpNestedQueryStringWriter& writer,
                                              const std::optional<std::string>& userId)
{
    HC_CHECK_MAIN_THREAD();
    auto achievements = hooks().achievementsLastSyncDate;
    writer.io("achievements_sync_date", achievements ? achievements(userId) : std::string("1970-01-01 00:00:00"));
    writer.io("leaderboards_sync_date", HCLeaderboardService::getLastSyncDateForUserId(userId));
}

void HCOfflineService::syncOfflineData(const std::shared_ptr<HCOffline>& offline,
                                       const std::shared_ptr<HCBootstrap>& bootStrap)
{
    auto user = bootStrap ? bootStrap->user() : nullptr;
    std::optional<std::string> userId = user ? user->resourceId() : std::nullopt;
    // A player whose id is not an integer is not recorded, and the block's
    // definitions are written without anyone's scores or progress.
    if (userId && !HCIsIntegerText(*userId)) userId = std::nullopt;
    if (userId) HCUserServicePrivate::createLocalUser(userId, user->name(), user->profilePictureUrl());
    if (!offline) return;
    synchAchievements(*offline, userId);
    synchLeaderboards(*offline, userId, true);
}

void HCOfflineService::sendPendingData(const std::string& userId)
{
    HC_CHECK_MAIN_THREAD();
    auto installed = hooks();
    if (installed.sendPendingAchievements) installed.sendPendingAchievements(userId);
    if (installed.sendPendingHighScores) installed.sendPendingHighScores(userId);
}

void HCOfflineService::shareKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCGameProfilePageInfo>(map);
    HCAddKnownResource<HCOffline>(map);
    if (auto share = hooks().shareKnownResources) share(map);
    HCAddKnownResource<HCLeaderboard_Sync>(map);
    HCAddKnownResource<HCLeaderboardAggregation>(map);
    HCAddKnownResource<HCUser>(map);
}

void HCOfflineService::populateKnownResources(HCResourceNameMap& map)
{
    shareKnownResources(map);
}
