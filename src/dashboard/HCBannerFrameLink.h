#pragma once
// Keeps the frame's banner in step with a page that provides one: the page
// tells it when it appears and when it disappears. A page popped off its
// stack has no navigation controller any more by the time it disappears,
// so the frame it appeared in is remembered (weakly) for that.
//
// Thread: main thread.
#include <memory>

#include "dashboard/HCFramedNavigationController.h"
#include "platform/ui/ViewController.h"

class HCBannerFrameLink {
public:
    void pageAppeared(const platform::ui::ViewController& page)
    {
        frame_ = std::dynamic_pointer_cast<HCFramedNavigationController>(page.navigationController());
        refresh();
    }
    // The page now on top decides what banner the frame shows.
    void pageDisappeared() { refresh(); }

private:
    void refresh() const
    {
        if (auto frame = frame_.lock()) frame->refreshBanner();
    }

    std::weak_ptr<HCFramedNavigationController> frame_;
};
