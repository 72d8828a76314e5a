#pragma once
// A page pushed by a dashboard launch that knows what a plain text item
// after it in the launch's list means (the leaderboard list turns a
// leaderboard id into that board's score page). Nil: nothing is pushed for
// the item.
//
// Thread: main thread.
#include <string>

#include "platform/ui/ViewController.h"

class HCLaunchItemFollower {
public:
    virtual ~HCLaunchItemFollower() = default;
    virtual platform::ui::ViewControllerPtr controllerForFollowingLaunchItem(const std::string& item) = 0;
};
