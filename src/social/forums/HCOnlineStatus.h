#pragma once
// A player and whether that player is online, as the instant-message page
// tracks it; made locally, never read from a reply.
//
// Thread: made and used by one thread at a time (the instant-message page's,
// the main thread); no lock.
#include <memory>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"

class HCOnlineStatus final : public HCResource {
public:
    HCOnlineStatus(HCUserPtr user, bool isOnline) : user_(std::move(user)), isOnline_(isOnline) {}
    static std::shared_ptr<HCOnlineStatus> initWithUser(HCUserPtr user, bool onlineStatus)
    {
        return std::make_shared<HCOnlineStatus>(std::move(user), onlineStatus);
    }

    const HCUserPtr& user() const { return user_; }
    void setUser(HCUserPtr user) { user_ = std::move(user); }
    bool isOnline() const { return isOnline_; }
    void setIsOnline(bool online) { isOnline_ = online; }

private:
    HCUserPtr user_;
    bool isOnline_;
};
