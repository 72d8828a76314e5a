#include "core/gamecenter/HalcyonGameCenter.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "kernel/system/HCSystemChecks.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

namespace gc = platform::gamecenter;

// Runs `work` on the main thread with the bridge, if it still exists then.
template <class Work>
void onMain(const std::weak_ptr<HalcyonGameCenter>& weak, Work work)
{
    platform::Thread::mainThread()->runLoop()->post([weak, work = std::move(work)]() mutable {
        if (auto bridge = weak.lock()) work(*bridge);
    });
}

void postOnMain(const char* name, platform::ObjectPtr object)
{
    platform::NotificationCenter::defaultCenter().post(name, std::move(object));
}

}  // namespace

std::shared_ptr<platform::Dictionary> HalcyonGameCenter::readMappings()
{
    auto bundle = platform::Bundle::mainBundle();
    auto path = bundle ? bundle->pathForResource("HCGameCenter", "plist") : std::nullopt;
    return path ? platform::as<platform::Dictionary>(platform::PropertyListReader::readFile(*path)) : nullptr;
}

bool HalcyonGameCenter::systemNeedsDeferredSubmission()
{
    return !isSystemVersionAtLeast(platform::DeviceFacts::systemVersion(), 4, 2);
}

std::shared_ptr<HalcyonGameCenter> HalcyonGameCenter::create()
{
    HC_CHECK_MAIN_THREAD();
    auto bridge = std::make_shared<HalcyonGameCenter>();
    bridge->useCustomAsyncSubmission_ = systemNeedsDeferredSubmission();
    bridge->mappings_ = readMappings();
    std::weak_ptr<HalcyonGameCenter> weak = bridge;
    gc::LocalPlayer::localPlayer().authenticateWithCompletionHandler(
        [weak](const std::optional<gc::Error>&) { onMain(weak, [](HalcyonGameCenter& b) { b.gameCenterLogin(); }); });
    return bridge;
}

void HalcyonGameCenter::gameCenterLogin()
{
    HC_CHECK_MAIN_THREAD();
    friends_.reset();
    friendsValid_ = false;
    if (gc::LocalPlayer::localPlayer().isAuthenticated()) {
        finishLoading();
        if (auto* delegate = Halcyon::getDelegate()) {
            platform::callOptional([&] { delegate->userLoggedInToGameCenter(); });
        }
    } else if (Halcyon::isSuccessfullyBootstrapped()) {
        Halcyon::loginShowNotifications();
    }
    if (loginCheckOwed_) {
        loginCheckOwed_ = false;
        Halcyon::loginGameCenterCheck();
    }
}

void HalcyonGameCenter::finishLoading()
{
    loadFriends();
    loadAchievements();
}

void HalcyonGameCenter::loadFriends()
{
    HC_CHECK_MAIN_THREAD();
    std::weak_ptr<HalcyonGameCenter> weak = platform::self(this);
    gc::LocalPlayer::localPlayer().loadFriendsWithCompletionHandler(
        [weak](const std::optional<std::vector<std::string>>& ids, const std::optional<gc::Error>& error) {
            onMain(weak, [ids, error](HalcyonGameCenter& bridge) {
                bridge.friends_ = error ? std::nullopt : ids;
                bridge.friendsValid_ = true;
                std::shared_ptr<platform::Array> delivered;
                if (ids) {
                    delivered = platform::Array::make();
                    for (const auto& id : *ids) delivered->add(platform::String::make(id));
                }
                postOnMain(HCNSNotificationGameCenterFriendsLoaded, delivered);
            });
        });
}

void HalcyonGameCenter::loadAchievements()
{
    HC_CHECK_MAIN_THREAD();
    std::weak_ptr<HalcyonGameCenter> weak = platform::self(this);
    gc::Achievement::loadAchievementsWithCompletionHandler(
        [weak](const std::vector<std::shared_ptr<gc::Achievement>>& loaded, const std::optional<gc::Error>& error) {
            if (error) return;
            onMain(weak, [loaded](HalcyonGameCenter& bridge) {
                for (const auto& achievement : loaded) {
                    // "Achievements" maps service ids to Game Center ids: the
                    // service id is the key whose value is this identifier.
                    if (auto key = bridge.serviceAchievementIdFor(achievement->identifier())) {
                        bridge.achievements_[*key] = achievement->percentComplete();
                    }
                }
            });
        });
}

void HalcyonGameCenter::loadAllScoresForHCLeaderboardId(const std::string& leaderboardId)
{
    HC_CHECK_MAIN_THREAD();
    auto category = leaderboardCategory(leaderboardId);
    if (!category) return;
    currentCategory_ = category;
    currentLeaderboardId_ = leaderboardId;
    for (int scope : {2, 1, 0}) loadScores(*category, scope);
}

void HalcyonGameCenter::loadScores(const std::string& category, int scope)
{
    HC_CHECK_MAIN_THREAD();
    auto board = std::make_shared<gc::Leaderboard>();
    board->timeScope = scope;
    board->playerScope = 0;
    board->category = category;
    board->rangeLocation = 1;
    board->rangeLength = 25;
    leaderboardsPerTimeScope_[scope] = board;
    std::weak_ptr<HalcyonGameCenter> weak = platform::self(this);
    board->loadScoresWithCompletionHandler([weak, scope](const auto&, const auto&) {
        onMain(weak, [scope](HalcyonGameCenter&) {
            auto info = platform::Dictionary::make();
            info->setObject("scope", platform::Number::makeInt(scope));
            postOnMain(HCNSNotificationGameCenterScoresLoaded, info);
        });
    });
}

std::optional<std::string> HalcyonGameCenter::lookUp(const char* table, const std::string& id) const
{
    auto map = mappings_ ? mappings_->get<platform::Dictionary>(table) : nullptr;
    return map ? map->stringForKey(id) : std::nullopt;
}

std::optional<std::string> HalcyonGameCenter::leaderboardCategory(const std::string& leaderboardId) const
{
    return lookUp("Leaderboards", leaderboardId);
}

std::optional<std::string> HalcyonGameCenter::achievementId(const std::string& id) const
{
    return lookUp("Achievements", id);
}

std::optional<std::string> HalcyonGameCenter::serviceAchievementIdFor(const std::string& gameCenterId) const
{
    auto map = mappings_ ? mappings_->get<platform::Dictionary>("Achievements") : nullptr;
    if (!map) return std::nullopt;
    for (const auto& [key, value] : map->entries()) {
        auto text = platform::as<platform::String>(value);
        if (text && text->value() == gameCenterId) return key;
    }
    return std::nullopt;
}

std::vector<std::string> HalcyonGameCenter::mappedLeaderboardIds(const std::shared_ptr<platform::Dictionary>& mappings)
{
    auto map = mappings ? mappings->get<platform::Dictionary>("Leaderboards") : nullptr;
    return map ? map->allKeys() : std::vector<std::string>{};
}

std::shared_ptr<platform::gamecenter::Leaderboard> HalcyonGameCenter::leaderboardForScope(int scope) const
{
    auto found = leaderboardsPerTimeScope_.find(scope);
    return found == leaderboardsPerTimeScope_.end() ? nullptr : found->second;
}
