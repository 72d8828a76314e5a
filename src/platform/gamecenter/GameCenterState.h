#pragma once
// The device's state, shared by the files of this folder only.
//
// Thread: any thread; every field is read and written under `mutex`.
#include <map>
#include <mutex>
#include <set>

#include "platform/gamecenter/GameCenterDevice.h"

namespace platform::gamecenter::detail {

struct CallSetup {
    std::optional<Error> failure;
    double delay = 0;
    bool dropped = false;
};

struct State {
    std::mutex mutex;
    std::optional<std::string> devicePlayer;
    std::vector<std::string> friends;
    std::map<std::string, std::string> aliases;
    std::vector<StoredScore> scores;
    std::set<std::string> ascending;
    std::map<std::string, double> achievements;
    std::map<Call, CallSetup> calls;
    std::vector<ReportedScore> reportedScores;
    std::vector<ReportedAchievement> reportedAchievements;
    // The signed-in player, nil while signed out.
    std::optional<std::string> authenticatedPlayer;
    ErrorHandler authenticationHandler;
};

State& state();

}  // namespace platform::gamecenter::detail
