#pragma once
// A page about a player, possibly compared with another: the navigation
// controller that shows it tells it when either player changes, and a page
// that cannot compare is never given a compared player by such a change.
//
// Thread: main thread.
#include <memory>

class HCUser;

class HCProfileFrame {
public:
    virtual ~HCProfileFrame() = default;
    virtual bool supportsComparison() = 0;
    virtual void profileUsersChanged(const std::shared_ptr<HCUser>& user,
                                     const std::shared_ptr<HCUser>& comparedToUser) = 0;
};
