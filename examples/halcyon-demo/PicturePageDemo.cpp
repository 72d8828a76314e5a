#include "PicturePageDemo.h"

#include <memory>
#include <string>
#include <vector>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Driver.h"
#include "social/users/HCUsersCredential.h"
#include "socialpages/picture/HCSelectProfilePictureController.h"

namespace picturedemo {

namespace {

using Page = HCSelectProfilePictureController;

std::shared_ptr<Page> pageOnTop()
{
    return std::dynamic_pointer_cast<Page>(top());
}

// The page is on top with its rows, Refresh is usable and nothing is asked
// of the service.
bool waitForIdle(const DemoFrames& demo)
{
    return waitFor(demo, "HCSelectProfilePictureController", [] {
        auto page = pageOnTop();
        return page && page->refreshButton() && page->refreshButton()->isEnabled() &&
               page->tableView()->numberOfRowsInSection(0) > 0;
    });
}

// "twitter (not linked)", "http_basic", "default icon".
std::string describe(const HCUsersCredential& row)
{
    if (!row.credentialType() || row.credentialType()->empty()) return "default icon";
    if (row.isHttpBasic()) return "own picture";
    return *row.credentialType() + (row.isLinked() ? " (linked)" : " (not linked)");
}

// 8 x 8: the top half green, the bottom half white.
platform::ui::ImagePtr photo()
{
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            rgba.insert(rgba.end(), {static_cast<uint8_t>(y < 4 ? 0 : 255), 255, static_cast<uint8_t>(y < 4 ? 0 : 255),
                                     255});
    return platform::ui::Image::withPixels(8, 8, std::move(rgba));
}

}  // namespace

bool showPicturePage(const DemoFrames& demo)
{
    if (!pushPageOnTab(demo, "MyHalcyon", "SelectProfilePicture", "picture") || !waitForIdle(demo)) return false;
    auto shown = pageOnTop();
    demo.say("picture: " + shown->title());
    std::string listed;
    for (int i = 0; i < shown->tableView()->numberOfRowsInSection(0); ++i)
        if (auto row = platform::as<HCUsersCredential>(shown->getResourceAtIndexPath({0, i})))
            listed += (listed.empty() ? "" : ", ") + describe(*row);
    demo.say("picture:   rows: " + listed);

    // No camera here: the own-picture row opens the library at once.
    platform::ui::Driver player;
    bool uploaded = false;
    for (int i = 0; i < shown->tableView()->numberOfRowsInSection(0) && !uploaded; ++i) {
        auto row = platform::as<HCUsersCredential>(shown->getResourceAtIndexPath({0, i}));
        if (!row || !row->isHttpBasic()) continue;
        uploaded = player.selectRow(shown->tableView(), {0, i}) && player.pickImage(photo()) && waitForIdle(demo);
    }
    auto local = Halcyon::localUser();
    const bool holds = uploaded && platform::ui::AlertView::visibleAlerts().empty() && local &&
                       local->profilePictureSource() == "Upload" && local->profilePictureUrl() &&
                       !local->profilePictureUrl()->empty();
    demo.say(std::string("picture: a photo from the library ") +
             (holds ? "uploaded as the own picture, now " + *local->profilePictureUrl() : "was NOT uploaded"));
    return closeDashboard(demo) && holds;
}

}  // namespace picturedemo
