#include "core/users/HCUser.h"

#include "core/clientstate/HCClientState.h"
#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/services/HCServicePath.h"
#include "core/users/HCUserDelegate.h"
#include "core/users/HCUserService.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/friends/HCFriendsService.h"

namespace {

HCClassDelegate<HCUserDelegate> sUserOperationsDelegate(HCUser::kModule);

using Users = std::vector<HCUserPtr>;

void appendUsers(Users& users, const std::shared_ptr<HCPaginatedSeries>& page)
{
    if (!page) return;
    for (const auto& object : page->objects())
        if (auto user = platform::as<HCUser>(object)) users.push_back(user);
}

// A friends operation: the extracted users reach `didGet`, a failure `didFail`.
HCOperationCallbacks friendsCallbacks(const HCUserPtr& user,
                                      std::function<void(HCUserDelegate&, const Users&, const HCUserPtr&)> didGet,
                                      std::function<void(HCUserDelegate&, const HCUserPtr&)> didFail)
{
    return sUserOperationsDelegate.callbacks(
        user,
        [user, didGet](auto started, const platform::ObjectPtr& series) {
            // The list is only built for a delegate that takes it.
            sUserOperationsDelegate.notify(started, [&](HCUserDelegate& delegate) {
                didGet(delegate, HCUser::_extractUsersFromPaginatedSeries(series), user);
            });
        },
        [user, didFail](auto started) { sUserOperationsDelegate.notify(started, [&](HCUserDelegate& d) { didFail(d, user); }); });
}

// The service reads a nil user as the local player; a user object without
// an id is nobody, and its list fails inside the call instead.
bool namesNobody(const HCUser& user)
{
    return !user.resourceId() || user.resourceId()->empty();
}

}  // namespace

void HCUser::setDelegate(HCUserDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    sUserOperationsDelegate.set(delegate);
}

HCRequestHandlePtr HCUser::getUser(const std::optional<std::string>& userId)
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks = sUserOperationsDelegate.callbacks(
        nullptr,
        [](auto started, const platform::ObjectPtr& reply) {
            auto series = platform::as<HCPaginatedSeries>(reply);
            auto first = series && series->count() > 0 ? platform::as<HCUser>(series->objectAtIndex(0)) : nullptr;
            if (first) {
                sUserOperationsDelegate.notify(started, [&](HCUserDelegate& d) { d.didGetUser(first); });
            } else {
                sUserOperationsDelegate.notify(started, [](HCUserDelegate& d) { d.didFailGetUser(); });
            }
        },
        [](auto started) { sUserOperationsDelegate.notify(started, [](HCUserDelegate& d) { d.didFailGetUser(); }); });
    return sUserOperationsDelegate.track(HCUserService::getUser(userId, callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCUser::getProfilePicture()
{
    HC_CHECK_MAIN_THREAD();
    auto self = std::static_pointer_cast<HCUser>(platform::self(this));
    // Held weakly, as the image step holds the user (a dropped user takes
    // its download with it).
    std::weak_ptr<HCUser> weak = self;
    return HCPublicImageStep<HCUserDelegate>(
        sUserOperationsDelegate, self, pictureDownload_, profilePictureUrl_,
        [weak](HCUserDelegate& d, const platform::ui::ImagePtr& image) {
            if (auto user = weak.lock()) d.didGetProfilePicture(image, user);
        },
        [weak](HCUserDelegate& d) {
            if (auto user = weak.lock()) d.didFailGetProfilePictureHCUser(user);
        });
}

HCRequestHandlePtr HCUser::getFriends()
{
    HC_CHECK_MAIN_THREAD();
    auto self = std::static_pointer_cast<HCUser>(platform::self(this));
    auto callbacks = friendsCallbacks(
        self, [](HCUserDelegate& d, const Users& users, const HCUserPtr& user) { d.didGetFriends(users, user); },
        [](HCUserDelegate& d, const HCUserPtr& user) { d.didFailGetFriendsHCUser(user); });
    if (namesNobody(*this)) return HCServicePath::refuse(callbacks.failure);
    return sUserOperationsDelegate.track(
        HCFriendsService::getAllUsersFollowedByUserAlphabetical(resourceId(), callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCUser::getFriendsWithThisApplication()
{
    HC_CHECK_MAIN_THREAD();
    auto self = std::static_pointer_cast<HCUser>(platform::self(this));
    auto callbacks = friendsCallbacks(
        self,
        [](HCUserDelegate& d, const Users& users, const HCUserPtr& user) { d.didGetFriendsWithThisApplication(users, user); },
        [](HCUserDelegate& d, const HCUserPtr& user) { d.didFailGetFriendsWithThisApplicationHCUser(user); });
    if (namesNobody(*this)) return HCServicePath::refuse(callbacks.failure);
    return sUserOperationsDelegate.track(HCFriendsService::getAllUsersWithApp(HCClientState::clientApplicationId(), resourceId(),
                                                               callbacks.success, callbacks.failure));
}

std::vector<HCUserPtr> HCUser::_extractUsersFromPaginatedSeries(const platform::ObjectPtr& reply)
{
    Users users;
    auto series = platform::as<HCPaginatedSeries>(reply);
    if (!series) return users;
    users.reserve(32);
    // The service answers in sections, or flat when asked "not_sectioned".
    for (const auto& object : series->objects()) {
        if (auto section = platform::as<HCTableSectionDescription>(object)) {
            if (section->title() != "Online Now") appendUsers(users, section->page());
        } else if (auto user = platform::as<HCUser>(object)) {
            users.push_back(user);
        }
    }
    return users;
}
