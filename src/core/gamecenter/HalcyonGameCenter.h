#pragma once
// The client's side of Game Center: signs the local player in, keeps the map
// from the service's leaderboard and achievement ids to Game Center's (the
// game's file "HCGameCenter.plist" in its main bundle), the player's friends
// and achievements, and the Game Center scores last loaded for each time
// scope.
//
// One exists while Game Center is in use and the client has started it
// (Halcyon::initializeGameCenter). Every Game Center answer arrives on Game
// Center's thread and is handed to the main thread before it touches this
// object, so its fields need no lock and its notices are posted where the
// pages listen.
//
// Each authentication answer repeats the sign-in steps (friends cleared and
// reloaded, the game told), but the client's after-log-in check, with its
// upload of pending work, runs once for each start of the bridge by a log-in,
// never again for a re-authentication.
//
// Thread: main thread.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/gamecenter/GameCenter.h"
#include "platform/runtime/Object.h"

class HalcyonGameCenter final : public platform::Object {
public:
    // Starts the sign-in; the after-log-in check is owed until it ends.
    static std::shared_ptr<HalcyonGameCenter> create();

    void gameCenterLogin();
    void finishLoading();
    void loadFriends();
    void loadAchievements();
    void loadAllScoresForHCLeaderboardId(const std::string& leaderboardId);
    void loadScores(const std::string& category, int scope);

    // The id's entry in "Leaderboards" / "Achievements"; nil without one.
    std::optional<std::string> leaderboardCategory(const std::string& leaderboardId) const;
    std::optional<std::string> achievementId(const std::string& achievementId) const;
    // The service leaderboard ids that "Leaderboards" of the map names, in
    // file order.
    std::vector<std::string> mappedLeaderboardIds() const { return mappedLeaderboardIds(mappings_); }
    static std::vector<std::string> mappedLeaderboardIds(const std::shared_ptr<platform::Dictionary>& mappings);

    std::shared_ptr<platform::gamecenter::Leaderboard> leaderboardForScope(int scope) const;
    const std::optional<std::string>& currentCategory() const { return currentCategory_; }
    const std::optional<std::string>& currentLeaderboardId() const { return currentLeaderboardId_; }
    const std::optional<std::vector<std::string>>& friends() const { return friends_; }
    bool friendsValid() const { return friendsValid_; }
    // Percent complete by service achievement id, from Game Center.
    const std::map<std::string, double>& achievements() const { return achievements_; }
    bool useCustomAsyncSubmission() const { return useCustomAsyncSubmission_; }
    // True while the sign-in that the last log-in started has not ended.
    bool loginCheckOwed() const { return loginCheckOwed_; }

    // The main bundle's "HCGameCenter" property list; nil when absent.
    static std::shared_ptr<platform::Dictionary> readMappings();
    // Below 4.2 reports are made from a thread of their own.
    static bool systemNeedsDeferredSubmission();

private:
    std::optional<std::string> lookUp(const char* table, const std::string& id) const;
    std::optional<std::string> serviceAchievementIdFor(const std::string& gameCenterId) const;

    std::shared_ptr<platform::Dictionary> mappings_;
    std::map<int, std::shared_ptr<platform::gamecenter::Leaderboard>> leaderboardsPerTimeScope_;
    std::optional<std::string> currentCategory_;
    std::optional<std::string> currentLeaderboardId_;
    std::optional<std::vector<std::string>> friends_;
    bool friendsValid_ = false;
    std::map<std::string, double> achievements_;
    bool useCustomAsyncSubmission_ = false;
    bool loginCheckOwed_ = true;
};
