// The invite flow as the player works it: the offer, choosing friends and
// address-book contacts, composing and sending, and what a failure leaves.

#include "core/halcyon/Halcyon.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Faults.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/ui/AddressBook.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PopoverController.h"
#include "social/invitations/HCDeviceContact.h"
#include "social/invitations/HCInviteService.h"
#include "core/images/HCImageView.h"
#include "uiframework/table/HCCheckableCell.h"
#include "socialpages/invitations/HCInviteCompleteController.h"
#include "socialpages/invitations/HCInviteFriendsController.h"
#include "socialpages/invitations/HCSelectContactsToInviteController.h"
#include "socialpages/invitations/HCSelectFriendsToInviteController.h"
#include "socialpages/invitations/HCSelectInviteTypeController.h"

namespace {

using platform::ui::PersonProperty;

std::vector<std::string> alerts()
{
    std::vector<std::string> out;
    for (const auto& panel : platform::ui::AlertPanel::shownPanels())
        if (auto alert = std::dynamic_pointer_cast<platform::ui::AlertView>(panel))
            out.push_back(alert->title() + ": " + alert->message());
    return out;
}

class InvitePagesTest : public pagetest::PageHarness {
protected:
    void start()
    {
        startOnline();
        for (const char* image : {"HCCheckBox.png", "HCCheckBoxSelected.png"}) addBundleImage(image);
        platform::ui::AddressBook::reset();
    }

    std::shared_ptr<HCSelectInviteTypeController> openStart(std::optional<std::string> inviteId = std::nullopt)
    {
        openPage("SelectInviteType", [&](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCSelectInviteTypeController>(page)->setInviteId(inviteId);
        });
        return topPageAs<HCSelectInviteTypeController>();
    }

    // Adds a person with one e-mail address and one phone number; answers their record id.
    int addPerson(std::optional<std::string> first, std::optional<std::string> last, int* email, int* phone)
    {
        auto person = std::make_shared<platform::ui::Person>(first, last);
        *email = person->emails()->add("cara@example.com", "home");
        *phone = person->phones()->add("555-0100", "mobile");
        return platform::ui::AddressBook::addPerson(person);
    }

    void pickContact(int recordId, PersonProperty property, int identifier)
    {
        auto page = topPageAs<HCSelectContactsToInviteController>();
        ASSERT_TRUE(page);
        ASSERT_TRUE(driver->tap(page->contactsHeader()->addContactButton()));
        settle();
        ASSERT_TRUE(driver->pickPerson(recordId));
        ASSERT_TRUE(driver->pickPersonValue(property, identifier));
        settle();
    }

    void useNowPlayingAndMyHalcyonTabs()
    {
        usePagesAsTabs({{"GameProfile", "Now Playing"}, {"MyHalcyon", "My Halcyon"}});
    }

    // Runs what opens the flow; answers the start page on top and the title of its tab's first page.
    std::pair<std::shared_ptr<HCSelectInviteTypeController>, std::string> launched(const std::function<void()>& open)
    {
        open();
        settle();
        waitForIdle();
        auto navigation = HalcyonDashboard::getActiveNavigationController();
        return {topPageAs<HCSelectInviteTypeController>(),
                navigation ? navigation->viewControllers().front()->title() : std::string()};
    }

    // A player the service does not know is chosen on the start page, and sent to.
    void sendFromStart(std::optional<std::string> inviteId)
    {
        openStart(inviteId)->updateSelectedType(HCSelectInviteTypeController::kFriends,
                                                {HCResource::initWithId<HCUser>(std::string("9999"))});
        ASSERT_TRUE(tapRightBarButton());
        settle();
        waitForIdle();
        ASSERT_TRUE(tapRightBarButton());
        waitForIdle();
    }

    // The rows of the top page that show `text`, top to bottom: their index and whether they are ticked.
    std::vector<std::pair<int, bool>> rowsShowing(const std::string& text) const
    {
        std::vector<std::pair<int, bool>> found;
        auto page = topPageAs<HCTableControllerHelper>();
        auto table = page->tableView();
        for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
            auto cell = page->cellForRowAtIndexPath(*table, {0, row});
            if (platform::ui::Driver::labelsText(cell).find(text) == std::string::npos) continue;
            auto checkable = std::dynamic_pointer_cast<HCCheckableCell>(cell);
            found.emplace_back(row, checkable && checkable->checked());
        }
        return found;
    }

    bool rightBarButtonEnabled() const
    {
        auto item = topPage()->navigationItem()->rightBarButtonItem();
        return item && item->isEnabled();
    }
};

TEST_F(InvitePagesTest, TheOfferIsThePrimaryDefinitionAndNothingChosenIsRefused)
{
    start();
    auto startPage = openStart(std::string(""));
    ASSERT_TRUE(startPage);
    EXPECT_EQ(startPage->title(), "Invite");
    EXPECT_EQ(requestsTo("invite_definitions/primary"), 1u);
    ASSERT_TRUE(startPage->definition());
    EXPECT_EQ(startPage->definition()->suggestedSenderMessage(), std::optional<std::string>("Come and clear the field with me!"));
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Select Friends To Invite]", "Halcyon Friends | 0 Friends Selected",
                                                      "Contacts | 0 Friends Selected"}));
    ASSERT_TRUE(tapRightBarButton());
    settle();
    EXPECT_EQ(alerts(), std::vector<std::string>{"No Friends Selected: You must select at least one friend to invite."});
    EXPECT_EQ(topPage(), startPage);
    auto icon = [&] {
        auto icons = platform::ui::Driver::findAll<HCImageView>(topPageAs<HCSelectInviteTypeController>()->tableView()->tableHeaderView());
        return icons.empty() ? std::optional<std::string>("none") : icons.front()->imageUrl();
    };
    EXPECT_EQ(icon(), startPage->definition()->inviteIconURL());
    ASSERT_TRUE(driver->answerAlert("OK"));

    // An offer whose icon address is empty keeps the default icon.
    HalcyonDashboard::getActiveNavigationController()->popToRootViewController(false);
    settle();
    server->faults().injectFor("GET", "invite_definitions/primary",
                               localserver::Fault::reply(200,
                                                         "<resources><invite_definition><id>1</id>"
                                                         "<invite_icon_url></invite_icon_url></invite_definition></resources>",
                                                         "application/xml"));
    ASSERT_TRUE(openStart());
    EXPECT_EQ(icon(), std::nullopt);
}

TEST_F(InvitePagesTest, AFriendAndAContactAreSentFriendFirstAndTheConfirmationEndsTheFlow)
{
    start();
    int email = 0, phone = 0;
    const int cara = addPerson(std::string("Cara"), std::string("Moss"), &email, &phone);
    auto startPage = openStart();
    ASSERT_TRUE(tapRow("Halcyon Friends"));
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCSelectFriendsToInviteController>());
    EXPECT_EQ(rowsShowing("Ben"), (std::vector<std::pair<int, bool>>{{0, false}}));
    ASSERT_TRUE(tapRow("Ben"));
    EXPECT_EQ(rowsShowing("Ben"), (std::vector<std::pair<int, bool>>{{0, true}}));
    ASSERT_TRUE(tapRightBarButton());
    settle();
    ASSERT_TRUE(tapRow("Contacts"));
    waitForIdle();
    pickContact(cara, PersonProperty::Email, email);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Contacts To Invite]", "Cara Moss | cara@example.com"}));
    EXPECT_EQ(rowPictures("Cara Moss").back(), "HCCheckBoxSelected.png");
    ASSERT_TRUE(tapRightBarButton());
    settle();
    waitForIdle();
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Select Friends To Invite]", "Halcyon Friends | 1 Friends Selected",
                                                      "Contacts | 1 Friends Selected"}));
    // A new picker lists Ben afresh, and ticks him again.
    ASSERT_TRUE(tapRow("Halcyon Friends"));
    waitForIdle();
    EXPECT_EQ(rowsShowing("Ben"), (std::vector<std::pair<int, bool>>{{0, true}}));
    ASSERT_TRUE(tapRightBarButton());
    settle();

    ASSERT_TRUE(tapRightBarButton());
    settle();
    waitForIdle();
    auto compose = topPageAs<HCInviteFriendsController>();
    ASSERT_TRUE(compose);
    EXPECT_EQ(rowsShowing("Ben"), (std::vector<std::pair<int, bool>>{{0, false}}));
    EXPECT_EQ(rowsShowing("Cara Moss | cara@example.com"), (std::vector<std::pair<int, bool>>{{1, false}}));
    // The receivers are there to be read: a tap on one opens nothing.
    EXPECT_FALSE(tapRow("Ben"));
    EXPECT_EQ(topPage(), compose);
    // The suggested message gives way to the player's own, and comes back when that is left empty.
    auto message = compose->header()->inviteText();
    ASSERT_TRUE(driver->showKeyboard(message));
    EXPECT_EQ(message->text(), "");
    ASSERT_TRUE(driver->hideKeyboard());
    EXPECT_EQ(message->text(), "Come and clear the field with me!");
    ASSERT_TRUE(driver->showKeyboard(message));
    driver->typeText(message, "Race me to level 9!");
    // A touch on the header's title puts the keyboard away.
    auto title = compose->header()->titleLabel();
    driver->tapAt(title->convertPointTo(platform::ui::Point(title->bounds().width() / 2, title->bounds().height() / 2),
                                        title->window()));
    EXPECT_FALSE(message->isFirstResponder());
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    settle();
    EXPECT_EQ(requestsTo("invites.xml"), 1u);
    EXPECT_EQ(lastParam("invites.xml", "invite[receivers][]"), std::optional<std::string>(localserver::defaults::kOtherUserId));
    EXPECT_EQ(lastParam("invites.xml", "invite[email_receivers][]"), std::optional<std::string>("cara@example.com"));
    EXPECT_EQ(lastParam("invites.xml", "invite[sender_message]"), std::optional<std::string>("Race me to level 9!"));
    auto complete = topPageAs<HCInviteCompleteController>();
    ASSERT_TRUE(complete);
    EXPECT_EQ(complete->messageTitleLabel()->text(), "Invitations Sent");
    ASSERT_TRUE(tapButton("OK"));
    settle();
    // The start page was the tab's first page pushed: the flow pops back below it.
    EXPECT_NE(topPage(), startPage);
    EXPECT_FALSE(topPageAs<HCInviteFriendsController>());
}

TEST_F(InvitePagesTest, AFailedSendPutsSendBackAndWithoutADefinitionTheRefusalSaysTheSame)
{
    start();
    sendFromStart(std::nullopt);
    EXPECT_EQ(alerts(), std::vector<std::string>{"An error occurred: Your invite was not submitted. Please try again."});
    EXPECT_TRUE(rightBarButtonEnabled());
    EXPECT_FALSE(showsLoadingScreen());
    ASSERT_TRUE(driver->answerAlert("OK"));

    // An identifier the service does not know: the flow goes on, and the
    // send is refused as any other.
    HalcyonDashboard::getActiveNavigationController()->popToRootViewController(false);
    settle();
    sendFromStart(std::string("nosuch"));
    EXPECT_EQ(requestsTo("invites.xml"), 1u);
    EXPECT_EQ(alerts(), std::vector<std::string>{"An error occurred: Your invite was not submitted. Please try again."});
    EXPECT_TRUE(rightBarButtonEnabled());
    EXPECT_FALSE(showsLoadingScreen());
}

TEST_F(InvitePagesTest, TheFriendPickerShownAgainWaitsAndAFailedOrDroppedRequestTakesTheLoadingScreenDown)
{
    start();
    openStart();
    server->faults().injectFor("GET", "invites/new/invitable_friends", localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapRow("Halcyon Friends"));
    waitForIdle();
    auto picker = topPageAs<HCSelectFriendsToInviteController>();
    ASSERT_TRUE(picker);
    EXPECT_EQ(requestsTo("invites/new/invitable_friends"), 1u);
    EXPECT_FALSE(showsLoadingScreen());

    // Shown again under a page pushed above it: the list waits 5 s.
    auto above = std::make_shared<HCViewController>();
    HalcyonDashboard::getActiveNavigationController()->pushViewController(above, false);
    driver->settle();
    HalcyonDashboard::getActiveNavigationController()->popViewController(false);
    driver->settle();
    testsupport::drainMain();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return requestsTo("users.xml") >= 2; }));
    // The wait starts when the answer is in.
    waitForReplies();
    clock->advance(4.5);
    testsupport::drainMain();
    EXPECT_EQ(requestsTo("invites/new/invitable_friends"), 1u);
    EXPECT_TRUE(showsLoadingScreen());
    clock->advance(1);
    waitForIdle();
    EXPECT_EQ(requestsTo("invites/new/invitable_friends"), 2u);
    EXPECT_EQ(rowsShowing("Ben").size(), 1u);

    // Every friend plays already: the picker says so in the empty list's place.
    ASSERT_TRUE(tapRightBarButton());
    settle();
    server->faults().injectFor("GET", "invites/new/invitable_friends",
                               localserver::Fault::reply(200, "<resources></resources>", "application/xml"));
    ASSERT_TRUE(tapRow("Halcyon Friends"));
    waitForIdle();
    EXPECT_NE(platform::ui::Driver::labelsText(topPage()->view()).find("All of your friends have Tolvarine Ruvuru."),
              std::string::npos);

    // A picker whose check the provider drops comes down all the same.
    ASSERT_TRUE(tapRightBarButton());
    settle();
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRow("Halcyon Friends"));
        driver->settle();
        EXPECT_TRUE(showsLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
}

TEST_F(InvitePagesTest, ASecondValueOfAPersonRetickesTheRowAndABadIdentifierAddsNothing)
{
    start();
    int email = 0, phone = 0;
    const int cara = addPerson(std::nullopt, std::string("Moss"), &email, &phone);
    openStart();
    ASSERT_TRUE(tapRow("Contacts"));
    waitForIdle();
    EXPECT_EQ(screenRows(), std::vector<std::string>{"[Contacts To Invite]"});
    pickContact(cara, PersonProperty::Email, email);
    ASSERT_TRUE(tapRow("Moss"));
    EXPECT_EQ(rowPictures("Moss").back(), "HCCheckBox.png");
    pickContact(cara, PersonProperty::Phone, phone);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Contacts To Invite]", "Moss | 555-0100"}));
    EXPECT_EQ(rowPictures("Moss").back(), "HCCheckBoxSelected.png");

    // The picker answers with an entry the person does not have (any more).
    auto page = topPageAs<HCSelectContactsToInviteController>();
    auto header = page->contactsHeader();
    platform::ui::PeoplePickerNavigationController picker;
    EXPECT_EQ(header->shouldContinueAfterSelectingPerson(picker, platform::ui::AddressBook::personWithRecordId(cara),
                                                         PersonProperty::Email, 77),
              std::optional<bool>(false));
    settle();
    EXPECT_EQ(page->addedContacts().size(), 1u);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Contacts To Invite]", "Moss | 555-0100"}));

    // A person without a name is named by what was picked.
    const int nameless = addPerson(std::nullopt, std::string(""), &email, &phone);
    pickContact(nameless, PersonProperty::Email, email);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Contacts To Invite]", "Moss | 555-0100",
                                                      "cara@example.com | cara@example.com"}));
}

TEST_F(InvitePagesTest, OnALargeScreenThePeoplePickerIsAPopoverFromTheAddButton)
{
    platform::DeviceFacts::setLargeScreen(true);
    start();
    int email = 0, phone = 0;
    const int cara = addPerson(std::string("Cara"), std::nullopt, &email, &phone);
    openStart();
    ASSERT_TRUE(tapRow("Contacts"));
    waitForIdle();
    auto header = topPageAs<HCSelectContactsToInviteController>()->contactsHeader();
    ASSERT_TRUE(driver->tap(header->addContactButton()));
    settle();
    ASSERT_EQ(platform::ui::PopoverController::visiblePopovers().size(), 1u);
    EXPECT_EQ(platform::ui::PopoverController::visiblePopovers()[0]->presentedRect(), header->addContactButton()->frame());
    ASSERT_TRUE(driver->pickPerson(cara));
    ASSERT_TRUE(driver->pickPersonValue(PersonProperty::Phone, phone));
    settle();
    EXPECT_TRUE(platform::ui::PopoverController::visiblePopovers().empty());
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[Contacts To Invite]", "Cara | 555-0100"}));
    ASSERT_TRUE(driver->tap(header->addContactButton()));
    settle();
    ASSERT_TRUE(driver->cancelPeoplePicker());
    settle();
    EXPECT_TRUE(platform::ui::PopoverController::visiblePopovers().empty());
}

TEST_F(InvitePagesTest, TheGameOpensTheFlowOnNowPlaying)
{
    useNowPlayingAndMyHalcyonTabs();
    start();
    auto [first, firstTab] = launched(&Halcyon::launchDashboardWithInvitePage);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->inviteId(), std::nullopt);
    EXPECT_EQ(firstTab, localserver::defaults::kGameName);
    EXPECT_EQ(requestsTo("invite_definitions/primary"), 1u);
}

TEST_F(InvitePagesTest, ASpecificInviteOpensOnMyHalcyonAskingOnlyForItsDefinition)
{
    useNowPlayingAndMyHalcyonTabs();
    start();
    auto [specific, specificTab] = launched([] { Halcyon::launchDashboardWithSpecificInvite("rivals"); });
    ASSERT_TRUE(specific);
    waitForReplies();
    EXPECT_EQ(specificTab, "My Halcyon");
    EXPECT_EQ(requestsTo("invite_definitions/rivals.xml"), 1u);
    EXPECT_EQ(requestsTo("invite_definitions/primary"), 0u) << "the page knows its offer before it first shows";
    // The header shows the named offer's icon, not the primary one's.
    auto icons = platform::ui::Driver::findAll<HCImageView>(specific->tableView()->tableHeaderView());
    ASSERT_FALSE(icons.empty());
    EXPECT_NE(icons.front()->imageUrl().value_or("").find("invite_32.png"), std::string::npos);
    EXPECT_EQ(specific->definition()->suggestedSenderMessage(), std::optional<std::string>("Beat my score if you can."));
}

TEST_F(InvitePagesTest, OpenedModallyTheSentInvitationClosesTheDashboard)
{
    start();
    auto [startPage, tabRoot] = launched([] { HCInviteService::displaySendInviteModal("rivals"); });
    ASSERT_TRUE(startPage);
    EXPECT_EQ(tabRoot, "Invite");
    EXPECT_EQ(requestsTo("invite_definitions/rivals.xml"), 1u);
    ASSERT_TRUE(startPage->navigationItem()->leftBarButtonItem());
    ASSERT_TRUE(tapRow("Halcyon Friends"));
    waitForIdle();
    ASSERT_TRUE(tapRow("Ben"));
    ASSERT_TRUE(tapRightBarButton());
    settle();
    waitForIdle();
    ASSERT_TRUE(tapRightBarButton());
    settle();
    waitForIdle();
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    settle();
    auto complete = topPageAs<HCInviteCompleteController>();
    ASSERT_TRUE(complete);
    EXPECT_EQ(complete->messageLabel()->text(), "Your invitation was sent!");
    ASSERT_TRUE(tapButton("OK"));
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());
}

TEST_F(InvitePagesTest, OpenedOverTheDashboardCancelTakesOnlyTheFlowAway)
{
    start();
    openPage("Invitations");
    auto flow = HCSelectInviteTypeController::inviteTypeControllerWithInviteIdentifier(std::nullopt);
    flow->openAsModalInDashboard();
    settle();
    auto root = HalcyonDashboard::getRootController();
    ASSERT_TRUE(root->modalViewController());
    EXPECT_EQ(std::dynamic_pointer_cast<platform::ui::NavigationController>(root->modalViewController())
                  ->viewControllers().front(),
              flow);
    ASSERT_TRUE(driver->tap(flow->navigationItem()->leftBarButtonItem()));
    settle();
    EXPECT_FALSE(root->modalViewController());
    EXPECT_EQ(HalcyonDashboard::getRootController(), root);
}

// The invitation carries the player's message: refused after he went back
// from the compose page, it is told on the page he is on.
TEST_F(InvitePagesTest, ASendRefusedAfterThePlayerWentBackIsToldOnThePageHeIsOn)
{
    start();
    auto startPage = openStart();
    startPage->updateSelectedType(HCSelectInviteTypeController::kFriends,
                                  {HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId))});
    ASSERT_TRUE(tapRightBarButton());
    settle();
    waitForIdle();
    auto compose = topPageAs<HCInviteFriendsController>();
    ASSERT_TRUE(compose);
    auto message = compose->header()->inviteText();
    ASSERT_TRUE(driver->showKeyboard(message));
    driver->typeText(message, "Race me to level 9!");
    ASSERT_EQ(sendThenLeaveBefore(HeldSendEnd::Refused, "invites.xml", [&] { return tapRightBarButton(); }), startPage);
    EXPECT_EQ(topPage(), startPage);
    EXPECT_EQ(alerts(), std::vector<std::string>{"An error occurred: Your invite was not submitted. Please try again."});
    EXPECT_EQ(lastParam("invites.xml", "invite[sender_message]"), std::optional<std::string>("Race me to level 9!"));
}

}  // namespace
