#include "InvitePagesDemo.h"

#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "platform/ui/AddressBook.h"
#include "platform/ui/Driver.h"
#include "socialpages/invitations/HCInviteCompleteController.h"
#include "socialpages/invitations/HCSelectContactsToInviteController.h"

namespace invitedemo {

bool showInvitePages(const DemoFrames& demo)
{
    platform::ui::Driver driver;
    auto cara = std::make_shared<platform::ui::Person>(std::string("Cara"), std::string("Moss"));
    const int caraEmail = cara->emails()->add("cara@example.com", "home");
    const int caraId = platform::ui::AddressBook::addPerson(cara);

    Halcyon::launchDashboardWithInvitePage();
    bool shown = waitFor(demo, "HCSelectInviteTypeController");
    if (shown) {
        printRows(demo, "invite pages", top()->title());
        shown = driver.selectRowWithText("Halcyon Friends") && waitFor(demo, "HCSelectFriendsToInviteController") &&
                driver.selectRowWithText("Ben");
    }
    if (shown) {
        printRows(demo, "invite pages", top()->title());
        shown = driver.tapBarButton("Done") && waitFor(demo, "HCSelectInviteTypeController") &&
                driver.selectRowWithText("Contacts") && waitFor(demo, "HCSelectContactsToInviteController");
    }
    if (shown) {
        auto contacts = std::dynamic_pointer_cast<HCSelectContactsToInviteController>(top());
        shown = driver.tap(contacts->contactsHeader()->addContactButton());
        demo.frame([] { return false; });
        shown = shown && driver.pickPerson(caraId) && driver.pickPersonValue(platform::ui::PersonProperty::Email, caraEmail);
        demo.frame([] { return false; });
        if (shown) printRows(demo, "invite pages", top()->title());
        shown = shown && driver.tapBarButton("Done") && waitFor(demo, "HCSelectInviteTypeController");
    }
    if (shown) {
        printRows(demo, "invite pages", top()->title());
        shown = driver.tapBarButton("Invite") && waitFor(demo, "HCInviteFriendsController");
    }
    if (shown) {
        printRows(demo, "invite pages", top()->title());
        shown = driver.tapBarButton("Send") && waitFor(demo, "HCInviteCompleteController");
    }
    if (shown) {
        auto complete = std::dynamic_pointer_cast<HCInviteCompleteController>(top());
        demo.say("invite pages: " + complete->messageTitleLabel()->text() + ": " + complete->messageLabel()->text());
    }
    return closeDashboard(demo) && shown;
}

}  // namespace invitedemo
