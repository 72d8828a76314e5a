#include "uiframework/table/HCStalledRefresh.h"

#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "uiframework/table/HCTableControllerHelper.h"

HCStalledRefresh::~HCStalledRefresh()
{
    for (const auto& timer : timers_) timer->invalidate();
}

bool HCStalledRefresh::holdBack(HCTableControllerHelper& page)
{
    HC_CHECK_MAIN_THREAD();
    if (!armed_ || releasing_) return false;
    page.showLoadingScreen();
    std::weak_ptr<HCTableControllerHelper> weakPage = platform::self(&page);
    timers_.push_back(platform::Thread::mainThread()->runLoop()->scheduleTimer(
        seconds_, false, [this, weakPage](platform::Timer& fired) {
        std::erase_if(timers_, [&](const auto& timer) { return timer.get() == &fired; });
        auto held = weakPage.lock();
        if (!held) return;
        releasing_ = true;
        held->_refreshData();
        releasing_ = false;
    }));
    return true;
}
