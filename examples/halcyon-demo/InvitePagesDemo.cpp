#include "InvitePagesDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/ui/AddressBook.h"
#include "platform/ui/Driver.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/invitations/HCInviteCompleteController.h"
#include "socialpages/invitations/HCSelectContactsToInviteController.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace invitedemo {

namespace {

std::shared_ptr<HCViewController> top()
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    return navigation ? std::dynamic_pointer_cast<HCViewController>(navigation->topViewController()) : nullptr;
}

// The page of this kind is on top with its rows shown, its loading screen
// down and nothing asked of the service.
bool waitFor(const DemoFrames& demo, const std::string& kind)
{
    auto ready = [&] {
        auto page = top();
        auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
        return page && page->kindName() == kind && !page->isShowingLoadingScreen() &&
               (!table || (!table->isLoadingData() && table->tableView()->numberOfSections() > 0)) &&
               Halcyon::provider()->queuedActionCount() == 0 &&
               Halcyon::provider()->runningLoaderCount() == 0;
    };
    for (int i = 0; i < demo.frames && !ready(); ++i) demo.frame(ready);
    if (!ready()) demo.say("invite pages: " + kind + " did not come up");
    return ready();
}

void printRows(const DemoFrames& demo, const std::string& heading)
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
    if (!table) return;
    demo.say("invite pages: " + heading);
    for (const auto& row : platform::ui::Driver::readTable(table->tableView())) demo.say("invite pages:   " + row);
}

}  // namespace

bool showInvitePages(const DemoFrames& demo)
{
    platform::ui::Driver driver;
    auto cara = std::make_shared<platform::ui::Person>(std::string("Cara"), std::string("Moss"));
    const int caraEmail = cara->emails()->add("cara@example.com", "home");
    const int caraId = platform::ui::AddressBook::addPerson(cara);

    Halcyon::launchDashboardWithInvitePage();
    bool shown = waitFor(demo, "HCSelectInviteTypeController");
    if (shown) {
        printRows(demo, top()->title());
        shown = driver.selectRowWithText("Halcyon Friends") && waitFor(demo, "HCSelectFriendsToInviteController") &&
                driver.selectRowWithText("Ben");
    }
    if (shown) {
        printRows(demo, top()->title());
        shown = driver.tapBarButton("Done") && waitFor(demo, "HCSelectInviteTypeController") &&
                driver.selectRowWithText("Contacts") && waitFor(demo, "HCSelectContactsToInviteController");
    }
    if (shown) {
        auto contacts = std::dynamic_pointer_cast<HCSelectContactsToInviteController>(top());
        shown = driver.tap(contacts->contactsHeader()->addContactButton());
        demo.frame([] { return false; });
        shown = shown && driver.pickPerson(caraId) && driver.pickPersonValue(platform::ui::PersonProperty::Email, caraEmail);
        demo.frame([] { return false; });
        if (shown) printRows(demo, top()->title());
        shown = shown && driver.tapBarButton("Done") && waitFor(demo, "HCSelectInviteTypeController");
    }
    if (shown) {
        printRows(demo, top()->title());
        shown = driver.tapBarButton("Invite") && waitFor(demo, "HCInviteFriendsController");
    }
    if (shown) {
        printRows(demo, top()->title());
        shown = driver.tapBarButton("Send") && waitFor(demo, "HCInviteCompleteController");
    }
    if (shown) {
        auto complete = std::dynamic_pointer_cast<HCInviteCompleteController>(top());
        demo.say("invite pages: " + complete->messageTitleLabel()->text() + ": " + complete->messageLabel()->text());
    }
    Halcyon::dismissDashboard();
    auto closed = [] { return !Halcyon::dashboardVisible(); };
    for (int i = 0; i < demo.frames && !closed(); ++i) demo.frame(closed);
    return shown && closed();
}

}  // namespace invitedemo
