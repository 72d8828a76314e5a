#pragma once
// Holds back a table page's reloads after its first load, for pages whose
// service needs a moment to list what the player has just made (friends just
// invited or added, a challenge just sent). The page arms it when its index
// action runs; from then on each _refreshData shows the loading screen and
// runs only `seconds` later, each on its own timer (a reload asked while
// another waits runs after it, in its turn).
//
//     void Page::_refreshData() { if (!stall_.holdBack(*this)) Base::_refreshData(); }
//
// Thread: main thread.
#include <memory>
#include <vector>

#include "platform/runtime/RunLoop.h"

class HCTableControllerHelper;

class HCStalledRefresh {
public:
    explicit HCStalledRefresh(double seconds) : seconds_(seconds) {}
    ~HCStalledRefresh();
    HCStalledRefresh(const HCStalledRefresh&) = delete;
    HCStalledRefresh& operator=(const HCStalledRefresh&) = delete;

    // Later reloads wait.
    void arm() { armed_ = true; }
    // True when the reload waits (it calls page._refreshData again when the
    // time is up); false when it should run now.
    bool holdBack(HCTableControllerHelper& page);

private:
    double seconds_;
    bool armed_ = false;
    bool releasing_ = false;
    // The timers still waiting.
    std::vector<std::shared_ptr<platform::Timer>> timers_;
};
