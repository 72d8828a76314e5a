// The local user and the running game's profile, kept as keyed archives in
// the user options.
//
// The log-in reply stores the local user on the provider's request thread
// while pages read it on the main thread, so the cached copy is read and
// replaced under a lock.
#include <algorithm>
#include <mutex>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonUserOptionsStore.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/foundation/UserDefaults.h"
#include "transport/provider/HCProvider.h"

namespace {

constexpr const char* kLocalUser = "HalcyonUserOptionLocalUser";
constexpr const char* kLocalGameInfo = "HalcyonUserOptionLocalGameInfo";

template <class T>
std::shared_ptr<T> unarchived(const char* key)
{
    auto data = userOptionsStore()->dataForKey(key);
    return data ? std::dynamic_pointer_cast<T>(platform::KeyedUnarchiver::unarchiveObjectWithData(data)) : nullptr;
}

// A nil stored on purpose, told apart from an archive that does not read back.
bool storedNil(const char* key)
{
    auto data = userOptionsStore()->dataForKey(key);
    auto nil = platform::KeyedArchiver::archivedDataWithRootObject(nullptr);
    return data && nil && data->length() == nil->length() &&
           std::equal(data->data(), data->data() + data->length(), nil->data());
}

std::string textOr(const std::optional<std::string>& text, const char* fallback)
{
    return text.value_or(fallback);
}

}  // namespace

std::mutex& Halcyon::localUserMutex()
{
    static std::mutex mutex;
    return mutex;
}

void Halcyon::registerArchivedDefaults()
{
    auto registered = platform::Dictionary::make();
    registered->setObject(kLocalUser, platform::KeyedArchiver::archivedDataWithRootObject(HCUser::invalidUser()));
    registered->setObject(kLocalGameInfo,
                          platform::KeyedArchiver::archivedDataWithRootObject(HCGameProfilePageInfo::defaultInfo()));
    userOptionsStore()->registerDefaults(registered);
}

std::shared_ptr<HCUser> Halcyon::localUser()
{
    auto instance = sharedInstance();
    if (!instance) {
        return nullptr;
    }
    std::lock_guard lock(localUserMutex());
    if (!instance->cachedLocalUser_ && !storedNil(kLocalUser)) {
        // An archive that does not read back leaves the player logged out.
        auto stored = unarchived<HCUser>(kLocalUser);
        instance->cachedLocalUser_ = stored ? stored : HCUser::invalidUser();
    }
    return instance->cachedLocalUser_;
}

// A nil user (a log-in reply without one) is stored as such, and told.
void Halcyon::setLocalUser(const std::shared_ptr<HCUser>& user)
{
    auto previous = localUser();
    userOptionsStore()->setObject(kLocalUser, platform::KeyedArchiver::archivedDataWithRootObject(user));
    if (auto instance = sharedInstance()) {
        std::lock_guard lock(localUserMutex());
        instance->cachedLocalUser_ = user;
    }
    postUserChangedNotification(previous, user);
}

std::string Halcyon::lastLoggedInUserId()
{
    auto user = localUser();
    return user ? textOr(user->resourceId(), "0") : "0";
}

std::optional<std::string> Halcyon::lastLoggedInUserName()
{
    auto user = localUser();
    return user ? user->name() : std::nullopt;
}

std::optional<std::string> Halcyon::lastLoggedInUserProfilePictureUrl()
{
    auto user = localUser();
    return user ? user->profilePictureUrl() : std::nullopt;
}

bool Halcyon::lastLoggedInUserUsesFacebookProfilePicture()
{
    auto user = localUser();
    return user && user->usesFacebookProfilePicture();
}

void Halcyon::loggedInUserChangedNameTo(const std::string& name)
{
    setLoggedInUserHasSetName(true);
    auto user = localUser();
    if (!user) {
        return;
    }
    // A copy, so a page holding the old user object sees no change under it.
    auto renamed = std::dynamic_pointer_cast<HCUser>(
        platform::KeyedUnarchiver::unarchiveObjectWithData(platform::KeyedArchiver::archivedDataWithRootObject(user)));
    if (!renamed) {
        return;
    }
    renamed->setName(name);
    setLocalUser(renamed);
}

void Halcyon::_resetHasUserSetHalcyonAccess()
{
    _resetHasUserSetHalcyonAccessKey();
    setLocalUser(HCUser::invalidUser());
    if (auto provider = Halcyon::provider()) {
        provider->destroyLocalCredentials();
    }
}

std::shared_ptr<HCGameProfilePageInfo> Halcyon::localGameProfileInfo()
{
    // A stored nil answers a profile with nothing in it, as a nil one would
    // to every question; an archive that does not read back, the default.
    if (storedNil(kLocalGameInfo)) {
        return std::make_shared<HCGameProfilePageInfo>();
    }
    auto info = unarchived<HCGameProfilePageInfo>(kLocalGameInfo);
    return info ? info : HCGameProfilePageInfo::defaultInfo();
}

void Halcyon::setLocalGameProfileInfo(const std::shared_ptr<HCGameProfilePageInfo>& info)
{
    userOptionsStore()->setObject(kLocalGameInfo, platform::KeyedArchiver::archivedDataWithRootObject(info));
    setClientApplicationId(info ? info->resourceId() : std::nullopt);
}

bool Halcyon::appHasAchievements() { return localGameProfileInfo()->hasAchievements(); }
bool Halcyon::appHasChallenges() { return localGameProfileInfo()->hasChallenges(); }
bool Halcyon::appHasLeaderboards() { return localGameProfileInfo()->hasLeaderboards(); }
bool Halcyon::appHasFeaturedApplication() { return localGameProfileInfo()->hasFeaturedApplication(); }
