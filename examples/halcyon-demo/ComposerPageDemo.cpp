#include "ComposerPageDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextField.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCViewController.h"

namespace {

constexpr const char* kLead = "I cleared level 12 of Tolvarine Ruvuru";
constexpr const char* kMessage = "Beat that!";

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

}  // namespace

bool showComposerPage(const DemoFrames& demo)
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
    return posted;
}
