#pragma once
// The names a game opens the dashboard with: its tabs and the pages pushed
// on them, each looked up by the dashboard's tab list or the controller
// loader.
//
// Thread: constants; any thread.

inline constexpr const char* HalcyonDashBoardTabNowPlaying = "GameProfile";
inline constexpr const char* HalcyonDashBoardTabMyHalcyon = "MyHalcyon";
inline constexpr const char* HalcyonDashBoardTabGames = "GameDiscovery";

inline constexpr const char* HalcyonControllerWhosPlaying = "WhosPlaying";
inline constexpr const char* HalcyonControllerAchievementsList = "AchievementList";
inline constexpr const char* HalcyonControllerLeaderboardsList = "Leaderboard";
inline constexpr const char* HalcyonControllerChallengesList = "ChallengeList";
inline constexpr const char* HalcyonControllerFindFriends = "ImportFriends";
inline constexpr const char* HalcyonControllerHighScores = "HighScore";
