#pragma once
// What a game implements to hear about its scores and leaderboards. Every
// method is optional: a class calls one only when the delegate implements it.
//
// Thread: called on the main thread.
#include <memory>
#include <vector>

#include "platform/runtime/OptionalMethods.h"

class HCHighScore;
class HCLeaderboard;

class HCHighScoreDelegate : public platform::OptionalMethods {
public:
    virtual ~HCHighScoreDelegate() = default;
    // The score is stored on this device (the service's answer is not awaited).
    virtual void didSubmit(const std::shared_ptr<HCHighScore>& score)
    {
        (void)score;
        notImplemented();
    }
    virtual void didFailSubmit(const std::shared_ptr<HCHighScore>& score)
    {
        (void)score;
        notImplemented();
    }
    // The score's blob is set.
    virtual void didDownloadBlob(const std::shared_ptr<HCHighScore>& score)
    {
        (void)score;
        notImplemented();
    }
    // No attachment, or its download failed.
    virtual void didFailDownloadBlob(const std::shared_ptr<HCHighScore>& score)
    {
        (void)score;
        notImplemented();
    }
    virtual void didGetHighScoresNearCurrentUser(const std::vector<std::shared_ptr<HCHighScore>>& scores)
    {
        (void)scores;
        notImplemented();
    }
    virtual void didFailGetHighScoresNearCurrentUser() { notImplemented(); }
};

class HCLeaderboardDelegate : public platform::OptionalMethods {
public:
    virtual ~HCLeaderboardDelegate() = default;
    virtual void didDownloadHighScores(const std::vector<std::shared_ptr<HCHighScore>>& scores,
                                       const std::shared_ptr<HCLeaderboard>& leaderboard)
    {
        (void)scores;
        (void)leaderboard;
        notImplemented();
    }
    virtual void didFailDownloadHighScoresHCLeaderboard(const std::shared_ptr<HCLeaderboard>& leaderboard)
    {
        (void)leaderboard;
        notImplemented();
    }
};
