// The game's display names and the activity poller's two intervals.
#include "core/halcyon/Halcyon.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr const char* kPollingFrequencyDefaultKey = "HalcyonSettingPollingFrequencyDefault";
constexpr const char* kPollingFrequencyChatKey = "HalcyonSettingPollingFrequencyChat";

std::shared_ptr<platform::UserDefaults> defaults()
{
    return platform::UserDefaults::standardUserDefaults();
}

}  // namespace

void Halcyon::intiailizeSettings()
{
    // Registered as texts, read as integers: a stored 0 stays 0.
    auto registered = platform::Dictionary::make();
    registered->setString(kPollingFrequencyDefaultKey, "30");
    registered->setString(kPollingFrequencyChatKey, "3");
    defaults()->registerDefaults(registered);
}

std::string Halcyon::applicationDisplayName()
{
    auto instance = sharedInstance();
    return instance ? instance->displayName_ : std::string();
}

std::string Halcyon::applicationShortDisplayName()
{
    auto instance = sharedInstance();
    return instance ? instance->shortDisplayName_ : std::string();
}

long Halcyon::getPollingFrequencyDefault()
{
    return defaults()->integerForKey(kPollingFrequencyDefaultKey);
}

void Halcyon::storePollingFrequencyDefault(long seconds)
{
    defaults()->setInteger(kPollingFrequencyDefaultKey, seconds);
}

long Halcyon::getPollingFrequencyInChat()
{
    return defaults()->integerForKey(kPollingFrequencyChatKey);
}

void Halcyon::storePollingFrequencyInChat(long seconds)
{
    defaults()->setInteger(kPollingFrequencyChatKey, seconds);
}
