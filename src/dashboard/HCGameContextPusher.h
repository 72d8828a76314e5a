#pragma once
// The root page of the Now Playing tab: it gives a page that a dashboard
// launch pushes on its tab what that page needs of the game shown.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/ViewController.h"

class HCGameProfilePageInfo;

class HCGameContextPusher {
public:
    virtual ~HCGameContextPusher() = default;
    virtual void fillPushedController(const platform::ui::ViewControllerPtr& controller,
                                      const std::shared_ptr<HCGameProfilePageInfo>& info) = 0;
};
