// The chat pages as the player works them: the kinds of room, a kind's
// rooms, joining, the room's lines by poll, saying a line, and coming back
// to a room or losing one's place in it.
#include <algorithm>
#include <functional>

#include "core/banners/HCNotificationDelegate.h"
#include "core/halcyon/Halcyon.h"
#include "core/resources/HCResource.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/PageHarness.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomDefinitionService.h"
#include "social/chat/HCChatRoomInstance.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "socialpages/chat/HCChatRoomCells.h"
#include "socialpages/chat/HCChatRoomController.h"
#include "socialpages/chat/HCSelectChatRoomDefinitionController.h"
#include "socialpages/chat/HCSelectChatRoomInstanceController.h"
#include "transport/poller/HCPoller.h"
#include "dashboard/HCDeadEndErrorController.h"
#include "dashboard/HCFramedNavigationController.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "support/RequestThreadGate.h"
#include "support/TestSupport.h"
#include "transport/provider/HCProvider.h"
#include "socialpages/profile/HCProfileController.h"

namespace {

constexpr const char* kJoin = "chat_room_instances/join";
constexpr const char* kPoll = "users/@me/activities.xml";
constexpr const char* kSay = "chat_messages.xml";
constexpr double kChatSeconds = 5;

bool rowsContain(const std::vector<std::string>& rows, const std::string& text)
{
    for (const auto& row : rows)
        if (row.find(text) != std::string::npos) return true;
    return false;
}

std::vector<std::string> alertMessages()
{
    std::vector<std::string> out;
    for (const auto& alert : platform::ui::AlertView::visibleAlerts()) out.push_back(alert->title() + ": " + alert->message());
    return out;
}

// The banners the game is asked about, as "text (category/type)".
class GameNotices final : public HCNotificationDelegate {
public:
    bool isHalcyonNotificationAllowed(const HCNotificationDataPtr& notice) override
    {
        heard.push_back(notice->notificationText + " (" + std::to_string(notice->notificationCategory) + "/" +
                        std::to_string(notice->notificationType) + ")");
        return true;
    }
    std::vector<std::string> heard;
};

class ChatPagesTest : public pagetest::PageHarness {
protected:
    void openRooms()
    {
        startOnline();
        Halcyon::storePollingFrequencyInChat(static_cast<long>(kChatSeconds));
        openPage("SelectChatRoomDefinition", [](const platform::ui::ViewControllerPtr& page) {
            auto rooms = std::dynamic_pointer_cast<HCSelectChatRoomDefinitionController>(page);
            rooms->setIncludeGlobalRooms(true);
            rooms->setIncludeDeveloperRooms(true);
        });
    }
    // Into the developers' room, its one room joined at once.
    std::shared_ptr<HCChatRoomController> enterDevelopersRoom()
    {
        openRooms();
        EXPECT_TRUE(tapRow("Developers"));
        waitForIdle();
        settle();
        return topPageAs<HCChatRoomController>();
    }
    // Lets the poller's chat interval pass and its lines reach the page.
    void poll()
    {
        driver->wait(kChatSeconds);
        waitForIdle();
    }
    // Polls until the last row shows `text` (a line said just now may miss
    // the poll under way when it was said), at most three times.
    bool pollUntilLastRowShows(const std::string& text)
    {
        for (int i = 0; i < 3; ++i) {
            poll();
            const auto rows = screenRows();
            if (!rows.empty() && rows.back().find(text) != std::string::npos) return true;
        }
        return false;
    }
    // In the developers' room, once a poll brought `lines`, the last showing `last`.
    std::shared_ptr<HCChatRoomController> enterRoomHearing(const char* lines, const std::string& last)
    {
        auto room = enterDevelopersRoom();
        if (!room) return nullptr;
        server->faults().injectFor("GET", kPoll, localserver::Fault::reply(200, lines, "application/xml"));
        return pollUntilLastRowShows(last) ? room : nullptr;
    }
    // The room's line showing `text` as the table shows it, nil when none does.
    std::shared_ptr<HCChatRoomChatMessageCell> lineShowing(const std::shared_ptr<HCChatRoomController>& room,
                                                           const std::string& text)
    {
        auto table = room->tableView();
        for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
            table->scrollToRowAtIndexPath({0, row}, platform::ui::TableViewScrollPosition::None, false);
            table->layoutIfNeeded();
            auto cell = table->cellForRowAtIndexPath({0, row});
            if (platform::ui::Driver::labelsText(cell).find(text) != std::string::npos)
                return std::dynamic_pointer_cast<HCChatRoomChatMessageCell>(cell);
        }
        return nullptr;
    }
    // The player taps the name of who said `text`.
    bool tapSpeakerOf(const std::shared_ptr<HCChatRoomController>& room, const std::string& text)
    {
        auto line = lineShowing(room, text);
        const bool tapped = line && driver->tapView(line->nameButton());
        settle();
        return tapped;
    }
    // The profile the player opens from the speaker of `text`; nil when none
    // opens or it shows nobody.
    std::shared_ptr<HCProfileController> openSpeakersProfile(const std::shared_ptr<HCChatRoomController>& room,
                                                             const std::string& text)
    {
        if (!tapSpeakerOf(room, text)) return nullptr;
        waitForIdle();
        auto profile = topPageAs<HCProfileController>();
        return profile && profile->getPageContextUser() ? profile : nullptr;
    }
    double pollingSeconds() { return Halcyon::poller()->getPollingFrequency(); }
    GameNotices notices;
    // The order of joins and polls as the server heard them.
    std::string joinsAndPolls()
    {
        std::string out;
        for (const auto& entry : server->log().entries()) {
            if (entry.request.path == kJoin) out += "J";
            if (entry.request.path == kPoll) out += "P";
        }
        return out;
    }
};

TEST_F(ChatPagesTest, AKindWithOneRoomJoinsItAndTheRoomShowsItsLinesAndTheLineSaid)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    EXPECT_EQ(room->title(), "Developers 1");
    EXPECT_EQ(requestsTo("chat_room_instances.xml"), 1u);
    EXPECT_EQ(requestsTo(kJoin), 1u);
    EXPECT_EQ(pollingSeconds(), kChatSeconds);
    poll();
    EXPECT_TRUE(rowsContain(screenRows(), "Patch notes are up"));

    auto field = room->messageBox()->textEntryField();
    driver->typeText(field, "Hello devs");
    ASSERT_TRUE(tapButton("Send"));
    EXPECT_EQ(field->text(), "");
    EXPECT_FALSE(room->isShowingLoadingScreen());
    waitForIdle();
    EXPECT_EQ(requestsWithParam(kSay, "chat_message[message]", "Hello devs"), 1u);
    EXPECT_TRUE(pollUntilLastRowShows("Hello devs"));

    // Leaving the room puts the poller back to its normal rate.
    HalcyonDashboard::getActiveNavigationController()->popViewController(true);
    settle();
    EXPECT_EQ(pollingSeconds(), Halcyon::poller()->defaultPollingFrequency());
}

TEST_F(ChatPagesTest, ARefusedLineGoesBackInTheFieldAndOneTakenWithABareOkStaysSent)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    server->faults().injectFor("POST", kSay, localserver::Fault::reply(500, "try later"));
    auto field = room->messageBox()->textEntryField();
    driver->typeText(field, "Is this lost?");
    // The refusal may already be in when the tap returns: only the end is certain.
    ASSERT_TRUE(tapButton("Send"));
    waitForIdle();
    EXPECT_EQ(field->text(), "Is this lost?");
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Oops! There was a problem:: try later"}));
    ASSERT_TRUE(driver->answerAlert(0));

    // A reply with no XML in it is the service taking the line, not refusing it.
    server->faults().injectFor("POST", kSay, localserver::Fault::reply(200, "OK"));
    ASSERT_TRUE(tapButton("Send"));
    waitForIdle();
    EXPECT_EQ(field->text(), "");
    EXPECT_TRUE(alertMessages().empty());
}

TEST_F(ChatPagesTest, SeveralRoomsAreListedAndAFullOneSaysSo)
{
    openRooms();
    ASSERT_TRUE(tapRow("Global"));
    waitForIdle();
    settle();
    ASSERT_TRUE(topPageAs<HCSelectChatRoomInstanceController>());
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Global 1 | 0/50", "Global 2 | 0/1"}));

    server->faults().injectFor("GET", kJoin, localserver::Fault::reply(403, "the room is full"));
    ASSERT_TRUE(tapRow("Global 2"));
    waitForIdle();
    settle();
    auto error = topPageAs<HCDeadEndErrorController>();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), HCChatRoomJoiningPage::kRoomFullMessage);

    // A full room reads red, with the full icon.
    addBundleImage("HCIconChatFull.png");
    auto full = HCResource::initWithId<HCChatRoomInstance>(std::string("12"));
    full->setRoomName(std::string("Crowded"));
    full->setNumUsersInRoomFromString(std::string("1"));
    full->setMaxNumUsersInRoomFromString(std::string("1"));
    openPage("SelectChatRoomInstance", [&](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCSelectChatRoomInstanceController>(page)->setPreLoadedChatRoomInstances({full});
    });
    EXPECT_EQ(rowPictures("Crowded"), (std::vector<std::string>{"HCIconChatFull.png"}));
    auto page = topPageAs<HCSelectChatRoomInstanceController>();
    auto cell = std::dynamic_pointer_cast<HCChatRoomInstanceCell>(page->cellForRowAtIndexPath(*page->tableView(), {0, 0}));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->occupancyLabel()->textColor(), platform::ui::Color::redColor());
}

TEST_F(ChatPagesTest, AJoinAnsweredInAHiddenTabPushesNothing)
{
    openRooms();
    ASSERT_TRUE(tapRow("Global"));
    waitForIdle();
    settle();
    auto list = topPageAs<HCSelectChatRoomInstanceController>();
    ASSERT_TRUE(list);
    server->faults().injectFor("GET", kJoin, localserver::Fault::heldBack());
    ASSERT_TRUE(tapRow("Global 1"));
    ASSERT_TRUE(driver->tapTab("My Halcyon"));
    settle();
    server->faults().releaseHeld();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !list->isShowingLoadingScreen(); }));
    EXPECT_EQ(requestsTo(kJoin), 1u);
    EXPECT_EQ(list->navigationController()->topViewController(), list);
}

TEST_F(ChatPagesTest, ARejoinAnsweredAfterAnotherPageCoveredTheRoomKeepsTheNormalRate)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    navigation->pushViewController(std::make_shared<HCViewController>(), false);
    settle();
    const size_t joins = requestsTo(kJoin);
    server->faults().injectFor("GET", kJoin, localserver::Fault::heldBack());
    navigation->popViewController(false);
    settle();
    // The player opens another page before the room is taken back.
    navigation->pushViewController(std::make_shared<HCViewController>(), false);
    settle();
    server->faults().releaseHeld();
    waitForReplies();
    settle();
    EXPECT_EQ(requestsTo(kJoin), joins + 1);
    EXPECT_EQ(pollingSeconds(), Halcyon::poller()->defaultPollingFrequency());
}

TEST_F(ChatPagesTest, BackFromAProfileTheRoomIsRejoinedBeforePollingAndALostPlaceEndsTheRoom)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    poll();
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    auto profile = openSpeakersProfile(room, "Patch notes are up");
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->getPageContextUser()->name(), "Cleo");
    EXPECT_EQ(pollingSeconds(), Halcyon::poller()->defaultPollingFrequency());
    const std::string before = joinsAndPolls();

    server->faults().injectFor("GET", kJoin, localserver::Fault::heldBack());
    navigation->popViewController(true);
    settle();
    EXPECT_NE(pollingSeconds(), kChatSeconds);
    server->faults().releaseHeld();
    EXPECT_TRUE(testsupport::runMainUntil([&] { return pollingSeconds() == kChatSeconds; }));
    poll();
    EXPECT_EQ(joinsAndPolls().substr(before.size(), 2), "JP");

    // The place was lost meanwhile: the room closes with an alert.
    ASSERT_TRUE(openSpeakersProfile(room, "Patch notes are up"));
    server->faults().injectFor("GET", kJoin, localserver::Fault::reply(403, "the room is full"));
    navigation->popViewController(false);
    settle();
    waitForIdle();
    settle();
    EXPECT_NE(topPage(), room);
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Room Full!: Sorry, you've lost your spot due to inactivity."}));
}

}  // namespace

namespace {

TEST_F(ChatPagesTest, UnderParentalControlsEachGuardedUseOpensOnlyItsAlert)
{
    disallowUserGeneratedContent();
    startOnline();
    Halcyon::launchDashboardWithListGlobalChatRoomsPage();
    settle();
    EXPECT_FALSE(topPage());
    EXPECT_FALSE(Halcyon::allowUserGeneratedContentFor(Halcyon::UserGeneratedContentUse::InstantMessages));
    EXPECT_EQ(alertMessages(),
              (std::vector<std::string>{": Chat room use is disabled due to the parental controls on this device.",
                                        ": Instant messaging is disabled due to the parental controls on this device."}));
    EXPECT_EQ(requestsTo("chat_room_definitions.xml"), 0u);
}

TEST_F(ChatPagesTest, TheGlobalChatShortcutOpensTheGlobalRoomsOnly)
{
    startOnline();
    Halcyon::launchDashboardWithListGlobalChatRoomsPage();
    settle();
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCSelectChatRoomDefinitionController>());
    EXPECT_TRUE(rowsContain(screenRows(), "Global"));
    EXPECT_FALSE(rowsContain(screenRows(), "Developers"));
    EXPECT_EQ(lastParam("chat_room_definitions.xml", "include_developer_rooms"), "0");
}

}  // namespace

namespace {

TEST_F(ChatPagesTest, TheLastVisitedRoomLeadsTheListOnceAndAFailedListEndsOnTheErrorPage)
{
    ASSERT_TRUE(enterDevelopersRoom());
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    navigation->popViewController(false);
    settle();
    auto lastVisited = [&] {
        size_t count = 0;
        for (const auto& row : screenRows()) count += row == "[Last Visited Room]" ? 1 : 0;
        return count;
    };
    EXPECT_EQ(lastVisited(), 1u);
    EXPECT_TRUE(rowsContain(screenRows(), "Developers 1"));
    navigation->pushViewController(std::make_shared<HCViewController>(), false);
    settle();
    navigation->popViewController(false);
    settle();
    EXPECT_EQ(lastVisited(), 1u);
    const size_t joins = requestsTo(kJoin);
    ASSERT_TRUE(driver->tapBarButton(HCSelectChatRoomDefinitionController::kRejoinTitle));
    waitForIdle();
    settle();
    EXPECT_EQ(requestsTo(kJoin), joins + 1);
    ASSERT_TRUE(topPageAs<HCChatRoomController>());
    EXPECT_EQ(topPage()->title(), "Developers 1");
    navigation->popViewController(false);
    settle();

    server->faults().injectFor("GET", "chat_room_instances.xml", localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(tapRow("Global"));
    waitForIdle();
    settle();
    auto error = topPageAs<HCDeadEndErrorController>();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), HCSelectChatRoomDefinitionController::kRoomsFailedMessage);
}

TEST_F(ChatPagesTest, AKindsRoomsThatFailAfterThePlayerWentOnShowNoErrorOverThePageHeIsOn)
{
    openRooms();
    auto list = topPageAs<HCSelectChatRoomDefinitionController>();
    ASSERT_TRUE(list);
    auto navigation = list->navigationController();
    // No rooms in the kind, and the list refused.
    for (const auto& fault : {localserver::Fault::reply(200, "<resources></resources>", "application/xml"),
                              localserver::Fault::reply(500, "down")}) {
        SCOPED_TRACE(fault.status);
        server->faults().injectFor("GET", "chat_room_instances.xml", fault);
        auto next = std::make_shared<HCViewController>();
        {
            testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
            ASSERT_TRUE(tapRow("Global"));
            navigation->pushViewController(next, false);
            settle();
        }
        waitForReplies();
        settle();
        EXPECT_EQ(topPage(), next);
        for (const auto& page : navigation->viewControllers())
            EXPECT_FALSE(std::dynamic_pointer_cast<HCDeadEndErrorController>(page));
        EXPECT_FALSE(list->isShowingLoadingScreen());
        navigation->popViewController(false);
        settle();
        EXPECT_EQ(topPage(), list);
    }
}

TEST_F(ChatPagesTest, TheMessageBoxRisesAboveTheKeyboardAndComesBackDown)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
    ASSERT_TRUE(framed);
    auto bottom = framed->bottomView();
    ASSERT_TRUE(bottom);
    EXPECT_EQ(bottom->subviews().front(), room->messageBox()->view());
    const double resting = bottom->frame().origin.y;
    EXPECT_DOUBLE_EQ(resting, framed->view()->bounds().height() - HCChatRoomMessageBoxController::kHeight);

    room->messageBox()->toggleKeyboardNow();
    settle();
    EXPECT_TRUE(room->messageBox()->isKeyboardShown());
    EXPECT_LT(bottom->frame().origin.y, resting - 100);
    room->messageBox()->toggleKeyboardNow();
    settle();
    EXPECT_FALSE(room->messageBox()->isKeyboardShown());
    EXPECT_DOUBLE_EQ(bottom->frame().origin.y, resting);

    // Covered by another page, the frame keeps no box of the room's.
    framed->pushViewController(std::make_shared<HCViewController>(), false);
    settle();
    EXPECT_FALSE(framed->bottomView());
}

TEST_F(ChatPagesTest, OnATabletTheRowsRiseByAFixedStepAndInLandscapeTheBarMakesRoomForTheKeyboard)
{
    platform::DeviceFacts::setLargeScreen(true);
    addBundleImage("HCCustomBottomViewBackgroundIPad.png");
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
    ASSERT_TRUE(framed);
    auto background = std::dynamic_pointer_cast<platform::ui::ImageView>(framed->bottomView());
    ASSERT_TRUE(background && background->image());
    EXPECT_EQ(background->image()->name(), "HCCustomBottomViewBackgroundIPad.png");
    auto table = room->tableView();
    const double before = table->contentOffset().y;
    room->messageBox()->toggleKeyboardNow();
    settle();
    EXPECT_EQ(table->contentOffset().y, before + HCChatRoomController::kKeyboardAdjustment);
    EXPECT_FALSE(framed->isNavigationBarHidden());
    room->messageBox()->toggleKeyboardNow();
    settle();
    EXPECT_EQ(table->contentOffset().y, before + HCChatRoomController::kKeyboardAdjustment);

    // A phone held sideways gives the keyboard the navigation bar's room.
    Halcyon::dismissDashboard();
    settle();
    platform::DeviceFacts::setLargeScreen(false);
    Halcyon::setDashboardOrientation(static_cast<int>(platform::ui::InterfaceOrientation::LandscapeLeft));
    room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    auto navigation = room->navigationController();
    room->messageBox()->toggleKeyboardNow();
    settle();
    EXPECT_TRUE(navigation->isNavigationBarHidden());
    room->messageBox()->toggleKeyboardNow();
    settle();
    EXPECT_FALSE(navigation->isNavigationBarHidden());
    EXPECT_GE(room->tableView()->contentOffset().y, 0);
}

}  // namespace

namespace {

// Two lines whose authors play a game: one that leads nowhere ("null"),
// one the player owns.
constexpr const char* kLinesWithGames =
    "<resources>"
    "<chat_message><id>9001</id><message>From nowhere</message>"
    "<local_user_owns_application>true</local_user_owns_application>"
    "<user><id>1002</id><name>Ben</name><last_played_game_id>null</last_played_game_id>"
    "<last_played_game_name>Lost game</last_played_game_name></user></chat_message>"
    "<chat_message><id>9002</id><message>Play mine</message>"
    "<local_user_owns_application>true</local_user_owns_application>"
    "<user><id>1002</id><name>Ben</name><last_played_game_id>1</last_played_game_id>"
    "<last_played_game_name>Tolvarine</last_played_game_name></user></chat_message>"
    "</resources>";

TEST_F(ChatPagesTest, AGameNameLeadsToItsGamePageUnlessItsIdIsNull)
{
    auto room = enterRoomHearing(kLinesWithGames, "Play mine");
    ASSERT_TRUE(room);
    auto lost = lineShowing(room, "From nowhere");
    ASSERT_TRUE(lost);
    EXPECT_TRUE(rowsContain(screenRows(), "Ben | "));
    ASSERT_TRUE(driver->tap(lost->gameNameButton()));
    settle();
    EXPECT_EQ(topPage(), room);

    auto owned = lineShowing(room, "Play mine");
    ASSERT_TRUE(owned);
    ASSERT_TRUE(driver->tap(owned->gameNameButton()));
    settle();
    EXPECT_TRUE(topPageAs<HCGameProfileController>());
}

}  // namespace

namespace {

// A player's hands on the room: double taps answered once, and what was
// typed kept whatever the service says.
class ChatTapsTest : public ChatPagesTest {
protected:
    // Two taps by position on the room's Send button before any answer can come.
    void tapSendTwice(const std::shared_ptr<HCChatRoomController>& room)
    {
        auto send = platform::ui::Driver::findByText(room->messageBox()->view(), HCChatRoomMessageBoxController::kSendTitle);
        ASSERT_TRUE(send);
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        EXPECT_TRUE(driver->tapView(send));
        EXPECT_TRUE(driver->tapView(send));
    }
    // "first" and "second" said, then `andThen` done, before any answer can come.
    void sayTwoLinesThen(const std::shared_ptr<platform::ui::TextField>& field, const std::function<void()>& andThen)
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        driver->typeText(field, "first");
        ASSERT_TRUE(tapButton("Send"));
        driver->typeText(field, "second");
        ASSERT_TRUE(tapButton("Send"));
        andThen();
    }
    void sayTwoLinesAndTypeAThird(const std::shared_ptr<platform::ui::TextField>& field)
    {
        sayTwoLinesThen(field, [&] { driver->typeText(field, "third"); });
    }
    // "first" and "second" said in the developers' room, the room left, then
    // `meanwhile` done, before any answer can come. The test keeps nothing
    // of the room.
    void sayTwoLinesAndLeaveTheRoomThen(const std::function<void()>& meanwhile)
    {
        auto room = enterDevelopersRoom();
        ASSERT_TRUE(room);
        sayTwoLinesThen(room->messageBox()->textEntryField(), [&] {
            ASSERT_TRUE(driver->tapBack());
            settle();
            meanwhile();
        });
    }
    // Once "second" was said, the player is on the room list, told `alert` alone.
    void expectToldOnTheRoomListOnceTheSecondLineWasSaid(const std::string& alert)
    {
        ASSERT_TRUE(testsupport::runMainUntil(
            [&] { return requestsWithParam(kSay, "chat_message[message]", "second") == 1u; }));
        waitForIdle();
        EXPECT_TRUE(topPageAs<HCSelectChatRoomDefinitionController>());
        EXPECT_EQ(alertMessages(), (std::vector<std::string>{alert}));
    }
    size_t roomPagesOn(const std::shared_ptr<platform::ui::NavigationController>& navigation)
    {
        size_t count = 0;
        for (const auto& page : navigation->viewControllers())
            count += std::dynamic_pointer_cast<HCChatRoomController>(page) ? 1 : 0;
        return count;
    }
};

TEST_F(ChatTapsTest, SendTappedTwiceSaysTheLineOnceAndABlankLineIsNotSent)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    auto field = room->messageBox()->textEntryField();
    driver->typeText(field, "Hello devs");
    tapSendTwice(room);
    waitForIdle();
    EXPECT_EQ(requestsTo(kSay), 1u);
    EXPECT_EQ(requestsWithParam(kSay, "chat_message[message]", "Hello devs"), 1u);
    EXPECT_TRUE(alertMessages().empty());

    field->setText(" \t \n ");
    ASSERT_TRUE(driver->showKeyboard(field));
    tapSendTwice(room);
    waitForIdle();
    EXPECT_EQ(requestsTo(kSay), 1u);
    EXPECT_TRUE(alertMessages().empty());
    EXPECT_FALSE(field->isFirstResponder());
}

TEST_F(ChatTapsTest, ARefusedLineComesBackAheadOfWhatWasTypedNotTheLineDeliveredAfterIt)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    server->faults().injectWhere("POST", kSay, "chat_message[message]", std::string("first"),
                                 localserver::Fault::reply(422, "not now"));
    auto field = room->messageBox()->textEntryField();
    sayTwoLinesAndTypeAThird(field);
    waitForIdle();
    EXPECT_EQ(requestsWithParam(kSay, "chat_message[message]", "second"), 1u);
    EXPECT_EQ(field->text(), "first third");
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"Oops! There was a problem:: not now"}));
}

TEST_F(ChatTapsTest, TwoRefusedLinesComeBackInTheOrderTheyWereWritten)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    // The first refusal is slow to come: the second line leaves only once it came.
    server->faults().injectWhere("POST", kSay, "chat_message[message]", std::string("first"),
                                 localserver::Fault::heldBack(localserver::Fault::reply(503, "busy")));
    server->faults().injectWhere("POST", kSay, "chat_message[message]", std::string("second"),
                                 localserver::Fault::reply(503, "busy"));
    auto field = room->messageBox()->textEntryField();
    sayTwoLinesAndTypeAThird(field);
    ASSERT_TRUE(serverHolds(1));
    settle();
    ASSERT_TRUE(onlyTheHeldRequestRuns());
    EXPECT_EQ(requestsWithParam(kSay, "chat_message[message]", "second"), 0u)
        << "it left while the first was unanswered";
    server->faults().releaseHeld();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return requestsTo(kSay) == 2u && !room->messageBox()->isSubmitting(); }));
    EXPECT_EQ(field->text(), "first second third");
}

TEST_F(ChatTapsTest, ALineRefusedAfterThePlayerLeftTheRoomIsToldOnThePageHeWentBackTo)
{
    server->faults().injectWhere("POST", kSay, "chat_message[message]", std::string("first"),
                                 localserver::Fault::reply(503, "busy"));
    sayTwoLinesAndLeaveTheRoomThen([] {});
    expectToldOnTheRoomListOnceTheSecondLineWasSaid(
        "Oops! There was a problem:: Your message \"first\" was not sent: busy");
    EXPECT_EQ(requestsWithParam(kSay, "chat_message[message]", "first"), 1u);
}

TEST_F(ChatTapsTest, ALineDroppedWhileTheRoomIsShownComesBackWithoutAnAlert)
{
    auto room = enterDevelopersRoom();
    ASSERT_TRUE(room);
    auto field = room->messageBox()->textEntryField();
    sayTwoLinesThen(field, [] { Halcyon::provider()->destroyAllPendingRequests(); });
    ASSERT_TRUE(testsupport::runMainUntil(
        [&] { return requestsWithParam(kSay, "chat_message[message]", "second") == 1u; }));
    waitForIdle();
    EXPECT_EQ(field->text(), "first");
    EXPECT_TRUE(alertMessages().empty());
}

TEST_F(ChatTapsTest, ALineDroppedAfterThePlayerLeftTheRoomIsToldByItsText)
{
    sayTwoLinesAndLeaveTheRoomThen([] { Halcyon::provider()->destroyAllPendingRequests(); });
    expectToldOnTheRoomListOnceTheSecondLineWasSaid("Oops! There was a problem:: Your message \"first\" was not sent.");
    EXPECT_EQ(requestsWithParam(kSay, "chat_message[message]", "first"), 0u);
}

TEST_F(ChatTapsTest, RejoinTappedTwiceJoinsOnceAndOpensOneRoomPage)
{
    ASSERT_TRUE(enterDevelopersRoom());
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    navigation->popViewController(false);
    settle();
    const size_t joins = requestsTo(kJoin);
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(tapRightBarButton());
        EXPECT_FALSE(tapRightBarButton()) << "Rejoin waits for the join under way";
        ASSERT_TRUE(tapRow("Developers 1"));
    }
    waitForIdle();
    settle();
    EXPECT_EQ(requestsTo(kJoin), joins + 1);
    EXPECT_EQ(roomPagesOn(navigation), 1u);
    ASSERT_TRUE(topPageAs<HCChatRoomController>());

    // Back on the list, Rejoin takes taps again.
    navigation->popViewController(false);
    settle();
    ASSERT_TRUE(tapRightBarButton());
    waitForIdle();
    settle();
    EXPECT_EQ(requestsTo(kJoin), joins + 2);
    EXPECT_EQ(roomPagesOn(navigation), 1u);
}

// A line from a speaker the server names without an id, then one from Ben.
constexpr const char* kLinesBySpeakers =
    "<resources>"
    "<chat_message><id>9011</id><message>Nobody knows me</message>"
    "<user><name>Ghost</name></user></chat_message>"
    "<chat_message><id>9012</id><message>Ask me anything</message>"
    "<user><id>1002</id><name>Ben</name></user></chat_message>"
    "</resources>";

TEST_F(ChatPagesTest, ASpeakersNameOpensTheirProfileUnlessTheServerGaveNoId)
{
    auto room = enterRoomHearing(kLinesBySpeakers, "Ask me anything");
    ASSERT_TRUE(room);
    ASSERT_TRUE(tapSpeakerOf(room, "Nobody knows me"));
    EXPECT_EQ(topPage(), room);

    auto profile = openSpeakersProfile(room, "Ask me anything");
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->getPageContextUser()->resourceId(), "1002");
    EXPECT_TRUE(platform::ui::Driver::findByText("Ben")) << platform::ui::Driver::describeScreen();
}

}  // namespace

namespace {

TEST_F(ChatPagesTest, WithTheDashboardClosedTheGameHearsTheChatNoticesAsPlainForegroundNotices)
{
    startOnline();
    delegates->setNotificationDelegate(&notices);
    auto definition = HCResource::initWithId<HCChatRoomDefinition>(std::string("2"));
    auto room = HCResource::initWithId<HCChatRoomInstance>(std::string("21"));
    HCChatRoomDefinitionService::getIndex(HCDelegate(), HCDelegate());
    HCChatRoomInstanceService::getPage(1, definition, HCDelegate(), HCDelegate());
    HCChatRoomInstanceService::attemptToJoinRoom(room, false, HCDelegate(), HCDelegate());
    waitForReplies();
    settle();
    std::sort(notices.heard.begin(), notices.heard.end());
    EXPECT_EQ(notices.heard, (std::vector<std::string>{"Downloaded Chat Rooms (1/0)", "Downloaded Room Instances (1/0)",
                                                       "Joined Chat Room (1/0)"}));
}

}  // namespace
