#include "ComposerPageDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "localserver/Faults.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextField.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCViewController.h"

namespace {

constexpr const char* kLead = "I cleared level 12 of Tolvarine Ruvuru";
constexpr const char* kMessage = "Beat that!";
constexpr const char* kSecondLead = "Tolvarine Ruvuru, level 13";
constexpr const char* kSecondMessage = "Rematch?";

bool idle()
{
    return Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
}

// The composer's network rows, on one line.
std::string networkRows()
{
    std::string line;
    for (const auto& row : rows())
        if (row.rfind("Post to", 0) == 0 || row.rfind("Connect to", 0) == 0) line += (line.empty() ? "" : ", ") + row;
    return line;
}

// The player types a Twitter login into the screen on top and sends it.
bool giveTwitterLogin(platform::ui::Driver& driver, const std::string& button)
{
    auto fields = platform::ui::Driver::findAll<platform::ui::TextField>(top()->view());
    if (fields.size() < 2) return false;
    driver.typeText(fields[0], "ann_plays");
    driver.typeText(fields[1], "tolvarine");
    return driver.tapButton(button);
}

// The game opens the composer again; the service holds the post until the
// player has closed the dashboard, then refuses it. What he wrote is told
// over the game by a banner, which the game's delegate may refuse.
bool showPostRefusedAfterClosing(localserver::Server& server, const DemoFrames& demo)
{
    platform::ui::Driver driver;
    // The first composer stays on top until its dashboard has gone.
    const auto first = top();
    Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText(std::string(kSecondLead),
                                                                       std::string(kSecondMessage), std::nullopt,
                                                                       std::nullopt);
    if (!waitFor(demo, "HCSendSocialNotificationController", [&] { return top() != first; })) return false;
    server.faults().injectFor("POST", "notifications.xml",
                              localserver::Fault::heldBack(localserver::Fault::reply(503, "busy")));
    auto send = top()->navigationItem()->rightBarButtonItem();
    if (!send || !driver.tap(send) || !waitUntil(demo, [&] { return server.faults().heldCount() == 1; }))
        return false;
    Halcyon::dismissDashboard();
    if (!waitUntil(demo, [] { return !Halcyon::isShowingFullScreen(); })) return false;
    demo.say("composer: a second post sent, and the dashboard closed while the service holds it");
    server.faults().releaseHeld();
    if (!waitUntil(demo, idle)) return false;
    // The banner is laid out on the next frames.
    for (int frame = 0; frame < 3; ++frame) demo.frame([] { return false; });
    demo.say("composer: the service refused it once the game was back: told by a banner, no alert over play");
    return true;
}

}  // namespace

bool showComposerPage(localserver::Server* server, const DemoFrames& demo)
{
    platform::ui::Driver driver;
    Halcyon::launchDashboardWithSocialNotificationWithPrepopulatedText(std::string(kLead), std::string(kMessage),
                                                                       std::nullopt, std::nullopt);
    if (!waitFor(demo, "HCSendSocialNotificationController")) return false;
    demo.say("composer: opened by the game with \"" + std::string(kLead) + "\"; rows: " + networkRows());
    if (platform::ui::Driver::findByText("Connect to Twitter")) {
        if (!selectRowShowing("Connect to Twitter") || !waitFor(demo, "HCTwitterAccountLoginController") ||
            !giveTwitterLogin(driver, "Connect Twitter") || !waitFor(demo, "HCSendSocialNotificationController"))
            return false;
        demo.say("composer: Twitter linked from the page; rows: " + networkRows());
    }
    auto send = top()->navigationItem()->rightBarButtonItem();
    if (!send || !driver.tap(send)) return false;
    auto closedOrAsked = [] {
        auto page = top();
        return !Halcyon::isShowingFullScreen() ||
               (page && page->kindName() == "HCTwitterExtendedCredentialController" && idle());
    };
    waitUntil(demo, closedOrAsked);
    if (Halcyon::isShowingFullScreen()) {
        demo.say("composer: the service asks leave to post to Twitter");
        if (!waitFor(demo, "HCTwitterExtendedCredentialController") || !giveTwitterLogin(driver, "Allow Posting"))
            return false;
        waitUntil(demo, [] { return !Halcyon::isShowingFullScreen(); });
    }
    const bool posted = !Halcyon::isShowingFullScreen();
    demo.say(posted ? std::string("composer: \"") + kLead + "  " + kMessage + "\" posted to Twitter; the dashboard closed"
                    : std::string("composer: the post did not go out"));
    if (!posted) return false;
    if (!server) {
        demo.say("composer: a post refused after the dashboard closed is shown with the demo's own server only");
        return true;
    }
    return showPostRefusedAfterClosing(*server, demo);
}
