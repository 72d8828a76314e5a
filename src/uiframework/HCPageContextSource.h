#pragma once
// What a page asks of the navigation controller that shows it: the player
// whose page it is, the player it is compared to and the game in context.
// The dashboard's framed navigation controller answers; a plain navigation
// controller has no context, and pages then get nil.
//
// Thread: main thread.
#include <memory>

#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "platform/ui/ViewController.h"

class HCPageContextSource {
public:
    virtual ~HCPageContextSource() = default;
    virtual std::shared_ptr<HCUser> pageContextUser(const platform::ui::ViewController& page) const = 0;
    virtual std::shared_ptr<HCUser> pageComparisonUser(const platform::ui::ViewController& page) const = 0;
    virtual std::shared_ptr<HCGameProfilePageInfo> pageContextGame(const platform::ui::ViewController& page) const = 0;
};
