#pragma once
// The objects an application reaches Game Center through: the local player,
// a score and an achievement to report, a leaderboard to load, and other
// players' names. They answer from the headless device of
// GameCenterDevice.h, always on Game Center's own thread.
//
// Thread: any thread. A leaderboard's results are guarded: its thread of
// completion writes them while the caller may read.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/gamecenter/GameCenterDevice.h"
#include "platform/runtime/Object.h"

namespace platform::gamecenter {

class LocalPlayer final {
public:
    using FriendsHandler = std::function<void(const std::optional<std::vector<std::string>>& friendIDs,
                                              const std::optional<Error>& error)>;

    static LocalPlayer& localPlayer();

    // Signs the device's player in; the handler is kept and runs again at
    // each re-authentication of the platform.
    void authenticateWithCompletionHandler(ErrorHandler handler);
    bool isAuthenticated() const;
    std::optional<std::string> playerID() const;
    void loadFriendsWithCompletionHandler(FriendsHandler handler);
};

class Score final : public Object {
public:
    // Dated now (platform::Clock), by the local player.
    explicit Score(std::string category);
    Score(StoredScore stored, int rank);

    const std::string& category() const { return category_; }
    std::int64_t value() const { return value_; }
    void setValue(std::int64_t value) { value_ = value; }
    double date() const { return date_; }
    const std::string& playerID() const { return playerID_; }
    // The value as the leaderboard shows it: decimal digits.
    std::string formattedValue() const { return std::to_string(value_); }
    int rank() const { return rank_; }

    void reportScoreWithCompletionHandler(ErrorHandler handler) const;

private:
    std::string category_;
    std::int64_t value_ = 0;
    double date_ = 0;
    std::string playerID_;
    int rank_ = 0;
};

class Achievement final : public Object {
public:
    using LoadHandler = std::function<void(const std::vector<std::shared_ptr<Achievement>>& achievements,
                                           const std::optional<Error>& error)>;

    explicit Achievement(std::string identifier, double percentComplete = 0)
        : identifier_(std::move(identifier)), percentComplete_(percentComplete)
    {
    }

    const std::string& identifier() const { return identifier_; }
    double percentComplete() const { return percentComplete_; }
    void setPercentComplete(double percent) { percentComplete_ = percent; }

    void reportAchievementWithCompletionHandler(ErrorHandler handler) const;
    // The local player's achievements as stored on the device.
    static void loadAchievementsWithCompletionHandler(LoadHandler handler);

private:
    std::string identifier_;
    double percentComplete_;
};

// Time scopes: 0 today, 1 this week, 2 all time. Player scopes: 0 everyone,
// 1 the local player and friends. The range is of ranks, from 1.
class Leaderboard final : public Object {
public:
    using ScoresHandler = std::function<void(const std::vector<std::shared_ptr<Score>>& scores,
                                             const std::optional<Error>& error)>;

    int timeScope = 2;
    int playerScope = 0;
    std::string category;
    int rangeLocation = 1;
    int rangeLength = 25;

    // Each player's best score in the scopes, ranked, cut to the range.
    void loadScoresWithCompletionHandler(ScoresHandler handler);
    bool isLoading() const;
    // Those of the last load; empty before one ends and after a failed one.
    std::vector<std::shared_ptr<Score>> scores() const;

private:
    mutable std::mutex mutex_;
    bool loading_ = false;
    std::vector<std::shared_ptr<Score>> scores_;
};

struct Player {
    std::string playerID;
    std::string alias;
};
using PlayersHandler = std::function<void(const std::vector<Player>& players, const std::optional<Error>& error)>;
// The known players among the ids; unknown ids are left out.
void loadPlayersForIdentifiers(const std::vector<std::string>& playerIDs, PlayersHandler handler);

}  // namespace platform::gamecenter
