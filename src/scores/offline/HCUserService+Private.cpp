#include "scores/offline/HCUserService+Private.h"

#include "core/users/HCUser.h"
#include "platform/foundation/Values.h"
#include "scores/offline/HCIntegerText.h"
#include "scores/offline/HCOfflineDatabase.h"

namespace {

constexpr const char* kCreateUserQuery =
    "REPLACE INTO users (id, name, profile_picture_url) VALUES (:id, :name, :profile_picture_url)";
constexpr const char* kGetUserQuery = "SELECT * FROM users WHERE id = :id";

}  // namespace

bool HCUserServicePrivate::createLocalUser(const Text& userId, const Text& userName, const Text& profilePictureUrl)
{
    if (!userId || !HCIsIntegerText(*userId)) return false;
    auto query = HCOfflineDatabase::statementForCurrentThread(kCreateUserQuery);
    query->bind("id", userId);
    query->bind("name", userName);
    query->bind("profile_picture_url", profilePictureUrl);
    query->execute();
    return query.isPrepared() && query->result() == 0;
}

std::shared_ptr<HCUser> HCUserServicePrivate::getLocalUser(const Text& userId)
{
    if (!userId) return nullptr;
    auto query = HCOfflineDatabase::statementForCurrentThread(kGetUserQuery);
    query->bind("id", userId);
    return query->execute() ? HCUser::initWithLocalSQL(query.query()) : nullptr;
}

void HCUserServicePrivate::getLocalUser(const Text& userId, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    if (auto user = getLocalUser(userId)) {
        onSuccess.invoke(platform::Array::make({user}));
        return;
    }
    onFailure.invoke(nullptr);
}
