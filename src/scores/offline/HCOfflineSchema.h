#pragma once
// Every table and index of the offline database at its current layout, and
// the upgrade of each older layout to it.
//
// Each group of tables (achievements, high scores, leaderboards, users) is
// created or upgraded in one transaction of its own, with every step's
// result checked: a step that fails rolls its group back, so the file keeps
// its earlier layout and rows (the next start-up tries again) while the
// other groups still come up. Versions are recorded in `table_versions`
// inside the same transaction as the change they describe.
//
// Current versions: table_versions 1, unlocked_achievements 3 (with
// unlocked_achievements_synch_date), achievement_definitions 3, high_scores
// 3, leaderboards 1, leaderboard_aggregations 1, users 1.
//
// Thread: the thread of the connection given (the main thread at start-up).
#include <optional>
#include <string>

class HCOfflineConnection;

class HCOfflineSchema {
public:
    static constexpr const char* kConfigFileDateRow = "offline_config_file_date";

    // What setup() could bring to the current layout.
    struct Outcome {
        bool versions = false;
        bool achievements = false;
        bool highScores = false;
        bool leaderboards = false;
        bool users = false;
        bool all() const { return versions && achievements && highScores && leaderboards && users; }
    };

    static Outcome setup(HCOfflineConnection& connection);

    // The stored version; 0 when there is no row (or no table).
    static int getTableVersion(HCOfflineConnection& connection, const std::string& name);
    // REPLACE of the row; true when the statement ran to its end.
    static bool setTableVersion(HCOfflineConnection& connection, const std::string& name, long long version);

private:
    static bool setupAchievements(HCOfflineConnection& connection);
    static bool setupHighScores(HCOfflineConnection& connection);
    static bool setupLeaderboards(HCOfflineConnection& connection);
    static bool setupUsers(HCOfflineConnection& connection);
};
