#include "uiframework/table/HCStalledRefresh.h"

#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "uiframework/table/HCTableControllerHelper.h"

HCStalledRefresh::~HCStalledRefresh()
{
    if (timer_) timer_->invalidate();
}

bool HCStalledRefresh::holdBack(HCTableControllerHelper& page)
{
    HC_CHECK_MAIN_THREAD();
    if (!armed_ || releasing_) return false;
    page.showLoadingScreen();
    if (timer_) timer_->invalidate();
    std::weak_ptr<HCTableControllerHelper> weakPage = platform::self(&page);
    timer_ = platform::Thread::mainThread()->runLoop()->scheduleTimer(seconds_, false, [this, weakPage](platform::Timer&) {
        auto held = weakPage.lock();
        if (!held) return;
        releasing_ = true;
        held->_refreshData();
        releasing_ = false;
    });
    return true;
}
