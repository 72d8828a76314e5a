#include "ComposerPageDemo.h"

#include <functional>
#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TextField.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace {

constexpr const char* kLead = "I cleared level 12 of Tolvarine Ruvuru";
constexpr const char* kMessage = "Beat that!";

std::shared_ptr<HCViewController> top()
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? std::dynamic_pointer_cast<HCViewController>(navigation->topViewController()) : nullptr;
}

bool idle()
{
    return Halcyon::provider()->queuedActionCount() == 0 && Halcyon::provider()->runningLoaderCount() == 0;
}

// A screen of this kind is on top, loaded and idle.
bool waitFor(const DemoFrames& demo, const std::string& kind)
{
    auto ready = [&] {
        auto page = top();
        auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
        return page && page->kindName() == kind && !page->isShowingLoadingScreen() &&
               (!table || (table->hasLoadedData() && !table->isLoadingData())) && idle();
    };
    for (int i = 0; i < demo.frames && !ready(); ++i) demo.frame(ready);
    if (!ready()) demo.say("composer: " + kind + " did not come up");
    return ready();
}

std::string rows()
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
    std::string line;
    for (const auto& row : platform::ui::Driver::readTable(table->tableView()))
        if (row.rfind("Post to", 0) == 0 || row.rfind("Connect to", 0) == 0) line += (line.empty() ? "" : ", ") + row;
    return line;
}

// The player taps the composer's row that shows `text`.
bool tapRow(platform::ui::Driver& driver, const std::string& text)
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top())->tableView();
    for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
        auto cell = table->cellForRowAtIndexPath({0, row});
        if (cell && platform::ui::Driver::labelsText(cell).find(text) != std::string::npos)
            return driver.selectRow(table, {0, row});
    }
    return false;
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
    demo.say("composer: opened by the game with \"" + std::string(kLead) + "\"; rows: " + rows());
    if (platform::ui::Driver::findByText("Connect to Twitter")) {
        if (!tapRow(driver, "Connect to Twitter") || !waitFor(demo, "HCTwitterAccountLoginController") ||
            !giveTwitterLogin(driver, "Connect Twitter") || !waitFor(demo, "HCSendSocialNotificationController"))
            return false;
        demo.say("composer: Twitter linked from the page; rows: " + rows());
    }
    auto send = top()->navigationItem()->rightBarButtonItem();
    if (!send || !driver.tap(send)) return false;
    auto closedOrAsked = [] {
        auto page = top();
        return !Halcyon::isShowingFullScreen() ||
               (page && page->kindName() == "HCTwitterExtendedCredentialController" && idle());
    };
    for (int i = 0; i < demo.frames && !closedOrAsked(); ++i) demo.frame(closedOrAsked);
    if (Halcyon::isShowingFullScreen()) {
        demo.say("composer: the service asks leave to post to Twitter");
        if (!waitFor(demo, "HCTwitterExtendedCredentialController") || !giveTwitterLogin(driver, "Allow Posting"))
            return false;
        auto closed = [] { return !Halcyon::isShowingFullScreen(); };
        for (int i = 0; i < demo.frames && !closed(); ++i) demo.frame(closed);
    }
    const bool posted = !Halcyon::isShowingFullScreen();
    demo.say(posted ? std::string("composer: \"") + kLead + "  " + kMessage + "\" posted to Twitter; the dashboard closed"
                    : std::string("composer: the post did not go out"));
    return posted;
}
