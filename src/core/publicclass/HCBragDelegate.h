#pragma once
// The game's say in what the player brags about: before a brag page opens,
// the delegate may write the text and the original message the composer
// starts with. Every method is optional; a method the game did not
// implement leaves both nil, and the page writes its own text.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/OptionalMethods.h"

class HCAchievement;
class HCHighScore;
class HCLeaderboard;

class HCBragDelegate : public platform::OptionalMethods {
public:
    virtual ~HCBragDelegate() = default;
    virtual void bragAboutHighScore(const std::shared_ptr<HCHighScore>&, const std::shared_ptr<HCLeaderboard>&,
                                    std::optional<std::string>* /*overridePrepopulatedText*/,
                                    std::optional<std::string>* /*overrideOriginalMessage*/)
    {
        notImplemented();
    }
    // `total` and `unlocked` count the running game's achievements on this device.
    virtual void bragAboutAllAchievements(int /*total*/, int /*unlocked*/,
                                          std::optional<std::string>* /*overridePrepopulatedText*/,
                                          std::optional<std::string>* /*overrideOriginalMessage*/)
    {
        notImplemented();
    }
    virtual void bragAboutAchievement(const std::shared_ptr<HCAchievement>&,
                                      std::optional<std::string>* /*overridePrepopulatedText*/,
                                      std::optional<std::string>* /*overrideOriginalMessage*/)
    {
        notImplemented();
    }
};
