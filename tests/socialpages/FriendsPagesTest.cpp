// The friends, import, find-user and who's-playing pages as the player
// works them, against the local server's players: Ann (the local player)
// follows Ben; Dora is linked to Facebook.
#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/resources/HCResource.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCShowMessageAndReturnController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "localserver/XmlWriter.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/SearchBar.h"
#include "socialpages/friends/HCFindUserController.h"
#include "accounts/HCAccountForms.h"
#include "socialpages/friends/HCFriendsController.h"
#include "socialpages/friends/HCFullScreenImportFriendsMessage.h"
#include "socialpages/friends/HCImportFriendsController.h"
#include "socialpages/friends/HCWhosPlayingController.h"
#include "socialpages/profile/HCProfileController.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"

namespace {

using namespace localserver::defaults;

class FriendsPagesTest : public pagetest::PageHarness {
protected:
    // `followerIds` follow Ann; Ann follows `followed`.
    void arrange(const std::vector<std::string>& followerIds, const std::vector<std::string>& followed)
    {
        for (const auto& id : followerIds) {
            auto user = *server->accounts().user(id);
            user.friends.push_back(kUserId);
            server->accounts().addUser(user);
        }
        auto ann = *server->accounts().user(kUserId);
        ann.friends = followed;
        server->accounts().addUser(ann);
    }
    void link(const std::string& id, const std::string& type)
    {
        auto user = *server->accounts().user(id);
        user.credentials.push_back(type);
        server->accounts().addUser(user);
    }
    bool pickTab(const std::string& name)
    {
        const bool tapped = tapButton(name);
        waitForIdle();
        return tapped;
    }
};

TEST_F(FriendsPagesTest, TheLocalPlayersEmptyListLeadsToImportAndAnotherPlayersShowsTheText)
{
    startOnline();
    arrange({}, {});
    openPage("Friends");
    EXPECT_EQ(topPage()->title(), "Halcyon Friends");
    EXPECT_TRUE(platform::ui::Driver::findByText(topPage()->view(), "Import from Twitter")) << "the import page shows";

    auto ben = HCResource::initWithId<HCUser>(std::string(kOtherUserId));
    ben->setName(std::string(kOtherUserName));
    HCProfileController::showProfileForUser(ben);
    settle();
    waitForIdle();
    auto profile = topPageAs<HCProfileController>();
    ASSERT_TRUE(profile);
    EXPECT_FALSE(tapButton("Friends") && topPage() != profile) << "Ben follows nobody: nothing opens";
}

TEST_F(FriendsPagesTest, PendingRequestsCountEditAndTheLastOneRemovedReturnsToFriends)
{
    startOnline();
    arrange({"1004", "1005"}, {kOtherUserId});
    auto page = std::dynamic_pointer_cast<HCFriendsController>(openPage("Friends"));
    ASSERT_TRUE(page);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[B]", "Ben | Last played  | 0"}));
    ASSERT_TRUE(pickTab("Pending"));
    EXPECT_EQ(page->currentTab(), HCFriendsController::kPendingTab);
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 2);
    EXPECT_EQ(lastParam("users.xml", "im-not-following"), "1");
    ASSERT_TRUE(tapRightBarButton()) << "Edit";
    EXPECT_TRUE(page->tableView()->isEditing());

    // A count lowered elsewhere meanwhile stays at 0.
    Halcyon::setPendingFriendsCount(0);
    ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 0}));
    settle();
    waitForIdle();
    EXPECT_EQ(requestsWithParam(std::string("users/1004/following.xml"), "follower", "yes"), 1u);
    EXPECT_GE(Halcyon::pendingFriendsCount(), 0);
    EXPECT_EQ(page->currentTab(), HCFriendsController::kPendingTab) << "Ann has a friend: the page stays";
}

TEST_F(FriendsPagesTest, AFailedLoadUnderATabShowsThatTabsFailureNotTheOtherTabsPlayers)
{
    const std::vector<std::string> failed{std::string("(") + HCTableControllerHelper::kLoadFailedMessage + ")"};
    const auto failWhere = [&](const char* name) {
        server->faults().clear();
        server->faults().injectWhere("GET", "users.xml", name, std::string("1"), localserver::Fault::reply(500, "down"),
                                     localserver::Faults::kUntilCleared);
    };
    startOnline();
    arrange({"1005"}, {kOtherUserId});
    openPage("Friends");
    ASSERT_EQ(screenRows(), (std::vector<std::string>{"[B]", "Ben | Last played  | 0"}));

    // Friends shown, then the requests fail: Ben is no request.
    failWhere("im-not-following");
    ASSERT_TRUE(pickTab("Pending"));
    EXPECT_EQ(lastParam("users.xml", "im-not-following"), "1");
    EXPECT_EQ(screenRows(), failed);

    // Requests shown, then the friends fail: Dora is no friend.
    server->faults().clear();
    ASSERT_TRUE(pickTab("Friends"));
    ASSERT_TRUE(pickTab("Pending"));
    ASSERT_EQ(screenRows(), (std::vector<std::string>{"Dora | Last played  | 0"}));
    failWhere("full_alphabetical_list");
    ASSERT_TRUE(pickTab("Friends"));
    EXPECT_EQ(lastParam("users.xml", "full_alphabetical_list"), "1");
    EXPECT_EQ(screenRows(), failed);
}

TEST_F(FriendsPagesTest, TheOnlyPendingRequestRemovedWithNoFriendsGoesBackToTheFriendsTab)
{
    startOnline();
    arrange({"1005"}, {kOtherUserId});
    auto page = std::dynamic_pointer_cast<HCFriendsController>(openPage("Friends"));
    ASSERT_TRUE(pickTab("Pending"));
    // Ann stops following Ben from his profile: no friends are left.
    platform::NotificationCenter::defaultCenter().post(HCNSNotificationRemoveFriend);
    ASSERT_EQ(Halcyon::pendingFriendsCount(), 1);
    ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 0}));
    settle();
    waitForIdle();
    EXPECT_EQ(page->currentTab(), HCFriendsController::kFriendsTab);
    EXPECT_FALSE(page->tableView()->isEditing());
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 0);
}

// The service holds a removal once it answers, whether or not the player
// waited for the answer on the page: the count follows it either way.
TEST_F(FriendsPagesTest, RemovalsConfirmedAfterThePlayerLeftStillMoveThePendingCount)
{
    startOnline();
    // Ben, 1004 and Dora follow Ann; Ann follows Ben only.
    arrange({kOtherUserId, "1004", "1005"}, {kOtherUserId});
    // The first row goes and the player taps Back before the service answers.
    auto removeFirstRowAndLeave = [&](const std::shared_ptr<HCFriendsController>& page) {
        {
            testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
            ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 0}));
            ASSERT_TRUE(driver->tapBack());
            settle();
            ASSERT_NE(topPage(), page);
        }
        waitForReplies();
        settle();
    };
    auto page = std::dynamic_pointer_cast<HCFriendsController>(openPage("Friends"));
    ASSERT_TRUE(page);
    ASSERT_TRUE(pickTab("Pending"));
    ASSERT_EQ(Halcyon::pendingFriendsCount(), 2);
    ASSERT_TRUE(tapRightBarButton()) << "Edit";
    removeFirstRowAndLeave(page);
    EXPECT_EQ(requestsWithParam(std::string("users/1004/following.xml"), "follower", "yes"), 1u);
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 1) << "one request is left";

    // Unfollowing Ben, who follows Ann, makes him a request.
    page = std::dynamic_pointer_cast<HCFriendsController>(openPage("Friends"));
    ASSERT_TRUE(page);
    ASSERT_EQ(screenRows(), (std::vector<std::string>{"[B]", "Ben | Last played  | 0"}));
    removeFirstRowAndLeave(page);
    EXPECT_EQ(requestsTo(std::string("users/") + kOtherUserId + "/following.xml"), 1u);
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 2);
}

TEST_F(FriendsPagesTest, ImportMatchesTheNetworkExactlyAndElseOpensItsLoginPage)
{
    startOnline();
    openPage("ImportFriends");
    ASSERT_TRUE(tapButton("Import from Twitter"));
    waitForIdle();
    auto form = topPageAs<HCTwitterAccountLoginController>();
    ASSERT_TRUE(form) << "Twitter is not linked: its login page";
    EXPECT_TRUE(form->addingAdditionalCredential()) << "it links Twitter to Ann's account";
    EXPECT_EQ(requestsTo("users_credentials/import_friends"), 0u);
    ASSERT_TRUE(driver->tapBack());
    settle();

    // A linked network typed "Twitter" is not "twitter".
    server->addRoute("GET", "users_credentials", localserver::Access::User, [](const localserver::Request&) {
        localserver::ResourceSection section{"Credentials", "credentials", {}};
        auto node = localserver::XmlNode::parent("users_credential");
        node.add("credential_type", "Twitter");
        node.add("is_linked", "true");
        section.list.resources.push_back(node);
        return localserver::Reply::xml(localserver::writeSectionedReply({section}));
    });
    ASSERT_TRUE(tapButton("Import from Twitter"));
    waitForIdle();
    EXPECT_TRUE(topPageAs<HCTwitterAccountLoginController>());
}

TEST_F(FriendsPagesTest, ALinkedNetworkImportsItsFriendsAndAFailureSaysSo)
{
    link(kUserId, "fbconnect");
    startOnline();
    openPage("ImportFriends");
    ASSERT_TRUE(tapButton("Import from Facebook"));
    waitForIdle();
    auto done = topPageAs<HCShowMessageAndReturnController>();
    ASSERT_TRUE(done);
    EXPECT_EQ(done->title(), "Finding Friends");
    EXPECT_EQ(done->messageLabel()->text(), "Allow some time for us to find your Facebook friends with Halcyon. Any "
                                            "matches will appear in the friends tab.");
    EXPECT_EQ(lastParam("users_credentials/import_friends", "credential_name"), "fbconnect");
    const auto ann = server->accounts().user(kUserId)->friends;
    EXPECT_NE(std::find(ann.begin(), ann.end(), "1005"), ann.end()) << "Dora is on Facebook too";

    // Refused, or answered with a reply that stops before its end.
    for (const auto& fault : {localserver::Fault::reply(500),
                              localserver::Fault::reply(200, "<resources><users_credential><credential_ty",
                                                        "application/xml")}) {
        ASSERT_TRUE(driver->tapBack());
        settle();
        server->faults().injectFor("GET", "users_credentials/import_friends", fault, 1);
        ASSERT_TRUE(tapButton("Import from Facebook"));
        waitForIdle();
        auto failed = topPageAs<HCShowMessageAndReturnController>();
        ASSERT_TRUE(failed);
        EXPECT_EQ(failed->title(), "Error");
        EXPECT_EQ(failed->messageLabel()->text(), HCFriendImporter::kFailedMessage);
    }
}

TEST_F(FriendsPagesTest, FindUserSearchesByNameOnlyWhenAsked)
{
    startOnline();
    openPage("FindUser");
    EXPECT_EQ(requestsTo("users.xml"), 0u);
    EXPECT_EQ(screenRows(), std::vector<std::string>{"(Search for friends by their Halcyon name.)"});
    auto bar = platform::ui::Driver::findFirst<platform::ui::SearchBar>(topPage()->view());
    ASSERT_TRUE(bar);
    driver->typeText(bar, "dor");
    bar->delegate()->searchBarSearchButtonClicked(*bar);
    settle();
    waitForIdle();
    EXPECT_EQ(lastParam("users.xml", "name"), "dor");
    ASSERT_EQ(screenRows().size(), 1u);
    EXPECT_EQ(screenRows()[0].rfind("Dora", 0), 0u);
    ASSERT_TRUE(tapRow("Dora"));
    waitForIdle();
    EXPECT_EQ(topPage()->title(), "Dora's Profile");
}

TEST_F(FriendsPagesTest, AnAppearanceInterruptedAndBegunAgainReloadsOncePerPresenceChange)
{
    startOnline();
    auto page = openPage("Friends");
    ASSERT_TRUE(page);
    // A container turns the page's way round mid-transition: it begins to
    // go, then begins to come back, with no disappearance in between.
    page->beginAppearanceTransition(false, true);
    page->beginAppearanceTransition(true, true);
    page->endAppearanceTransition();
    settle();
    waitForIdle();
    const auto asked = requestsTo("users.xml");
    Halcyon::postFriendPresenceChanged(nullptr, nullptr);
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("users.xml"), asked + 1);
}

TEST_F(FriendsPagesTest, WhosPlayingListsFriendsWithTheGameAndReloadsOnPresence)
{
    startOnline();
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    HCGameProfileController::showGameProfileWithLocalApplication();
    settle();
    waitForIdle();
    ASSERT_TRUE(tapButton("Who's Playing"));
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCWhosPlayingController>());
    EXPECT_EQ(lastParam("users.xml", "with_client_application"), kGameId);
    EXPECT_EQ(lastParam("users.xml", "user_id"), "me");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Ben | Last played  | 0 | 30"}));
    const auto asked = requestsTo("users.xml");
    Halcyon::postFriendPresenceChanged(nullptr, nullptr);
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("users.xml"), asked + 1);

    server->faults().injectFor("GET", "users.xml", localserver::Fault::reply(500), 1);
    Halcyon::postFriendPresenceChanged(nullptr, nullptr);
    settle();
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());

    // A page that names a player lists that player's friends.
    openPage("WhosPlaying", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCWhosPlayingController>(page)->setUserId(std::string("1005"));
    });
    EXPECT_EQ(lastParam("users.xml", "user_id"), "1005");
}

TEST_F(FriendsPagesTest, TheImportMessageNamesTheNetworksProperly)
{
    startOnline();
    auto message = HCControllerLoader::load<HCFullScreenImportFriendsMessage>("FullscreenImportFriendsMessage");
    ASSERT_TRUE(message);
    auto typed = [](const char* type) {
        auto credential = std::make_shared<HCUsersCredential>();
        credential->setCredentialType(std::string(type));
        return credential;
    };
    const std::string tail = " to see what Halcyon games they're playing, compare progress, and more.";
    // A type without a name of its own is left out rather than shown blank.
    for (const auto& none : {std::vector<std::shared_ptr<HCUsersCredential>>{}, {typed("myspace")}}) {
        message->setMissingCredentials(none, "");
        EXPECT_EQ(message->messageLabel()->text(), "Import your friends from your social networks" + tail);
    }
    message->setMissingCredentials({typed("twitter"), typed("fbconnect")}, "None here.");
    EXPECT_EQ(message->messageLabel()->text(), "None here. Import your friends from Twitter or Facebook" + tail);
    message->setMissingCredentials({typed("twitter"), typed("fbconnect"), typed("http_basic")}, "");
    EXPECT_EQ(message->messageLabel()->text(),
              "Import your friends from Twitter, Facebook, or Email & Password" + tail);
}

TEST_F(FriendsPagesTest, PlayerRowsSayWhoIsPlayingAndFadeThePointsWhileEditing)
{
    startOnline();
    // Who plays what right now, as the service would say it.
    server->addRoute("GET", "users.xml", localserver::Access::User, [](const localserver::Request&) {
        localserver::ResourceList list;
        auto add = [&](const char* id, const char* name, const char* online) {
            auto node = localserver::XmlNode::parent("user");
            node.add("id", id);
            node.add("name", name);
            node.add("last_played_game_name", "Tide");
            node.add("gamer_score", "40");
            node.add("online", online);
            list.resources.push_back(node);
        };
        add(kUserId, kUserName, "false");
        add(kOtherUserId, kOtherUserName, "true");
        add("1005", "Dora", "false");
        list.header = localserver::paginate(3, 1, 10);
        return localserver::Reply::xml(localserver::writeFlatReply(list));
    });
    auto page = std::dynamic_pointer_cast<HCFriendsController>(openPage("Friends"));
    ASSERT_TRUE(page);
    ASSERT_TRUE(pickTab("Pending"));
    // The local player is online whenever the client is.
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Ann | playing Tide | 40 | Online",
                                                      "Ben | playing Tide | 40 | Online", "Dora | Last played Tide | 40"}));
    auto cell = page->tableView()->cellForRowAtIndexPath({0, 2});
    ASSERT_TRUE(cell);
    std::shared_ptr<platform::ui::Label> points;
    for (const auto& label : platform::ui::Driver::findAll<platform::ui::Label>(cell))
        if (label->text() == "40") points = label;
    ASSERT_TRUE(points);
    ASSERT_TRUE(tapRightBarButton());
    ASSERT_TRUE(page->tableView()->isEditing());
    EXPECT_EQ(points->alpha(), 0.0);
    ASSERT_TRUE(tapRightBarButton());
    EXPECT_EQ(points->alpha(), 1.0);
}

TEST_F(FriendsPagesTest, AnotherPlayersFriendsHaveNoTabsAndTheirOwnEmptyText)
{
    startOnline();
    auto dora = HCResource::initWithId<HCUser>(std::string("1005"));
    dora->setName(std::string("Dora"));
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), {});
    settle();
    auto framed =
        std::dynamic_pointer_cast<HCFramedNavigationController>(HalcyonDashboard::getActiveNavigationController());
    ASSERT_TRUE(framed);
    framed->pushViewController(HCControllerLoader::load("Friends"), true, dora);
    settle();
    waitForIdle();
    EXPECT_EQ(topPage()->title(), "Friends");
    EXPECT_EQ(lastParam("users.xml", "user_id"), "1005");
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"[B]", "Ben | Last played  | 0"}));
    EXPECT_FALSE(platform::ui::Driver::findByText(topPage()->view(), "Pending")) << "no tabs for another player";
    EXPECT_FALSE(topPage()->navigationItem()->rightBarButtonItem());

    auto ben = HCResource::initWithId<HCUser>(std::string(kOtherUserId));
    framed->pushViewController(HCControllerLoader::load("Friends"), true, ben);
    settle();
    waitForIdle();
    EXPECT_EQ(screenRows(), std::vector<std::string>{"(This user has not added any Halcyon friends yet.)"});
}

TEST_F(FriendsPagesTest, AFriendChangeElsewhereReloadsOnceOnReturnAndAFailedRemovalReloads)
{
    startOnline();
    auto page = std::dynamic_pointer_cast<HCFriendsController>(openPage("Friends"));
    ASSERT_TRUE(page);
    ASSERT_TRUE(tapRow("Ben"));
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCProfileController>());
    const auto asked = requestsTo("users.xml");
    ASSERT_TRUE(tapButton("Remove Friend"));
    waitForIdle();
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("users.xml"), asked + 1);
    EXPECT_TRUE(platform::ui::Driver::findByText(topPage()->view(), "Import from Twitter"))
        << "Ann follows nobody now";
    ASSERT_TRUE(tapButton("Find by Name"));
    ASSERT_TRUE(driver->tapBack());
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("users.xml"), asked + 2) << "the import page keeps the list fresh";

    arrange({"1005"}, {});
    // The tabs sit behind the import page: the Pending tab is picked as its button would.
    page->onFollowersSelected();
    settle();
    waitForIdle();
    server->faults().injectFor("DELETE", "users/1005/following.xml", localserver::Fault::reply(500), 1);
    const auto before = requestsTo("users.xml");
    ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 0}));
    settle();
    waitForIdle();
    EXPECT_EQ(requestsTo("users.xml"), before + 1);
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Dora | Last played  | 0"})) << "the request is still there";
}

TEST_F(FriendsPagesTest, ARemovalOrAnImportTheProviderDropsEndsLikeAFailedOne)
{
    startOnline();
    auto page = std::dynamic_pointer_cast<HCFriendsController>(openPage("Friends"));
    ASSERT_TRUE(page);
    const auto shown = screenRows();
    ASSERT_EQ(shown, (std::vector<std::string>{"[B]", "Ben | Last played  | 0"}));
    const auto before = requestsTo("users.xml");
    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(driver->deleteRow(page->tableView(), {0, 0}));
        settle();
        EXPECT_TRUE(page->isShowingLoadingScreen());
    });
    waitForIdle();
    EXPECT_EQ(requestsTo("users.xml"), before + 1);
    EXPECT_EQ(screenRows(), shown) << "Ben is still a friend: his row comes back";

    link(kUserId, "fbconnect");
    openPage("ImportFriends");
    auto import = topPage();
    pagetest::dropRequestsMadeBy([&] {
        ASSERT_TRUE(tapButton("Import from Facebook"));
        EXPECT_TRUE(showsLoadingScreen());
    });
    waitForIdle();
    EXPECT_FALSE(std::dynamic_pointer_cast<HCViewController>(import)->isShowingLoadingScreen());
    auto failed = topPageAs<HCShowMessageAndReturnController>();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->title(), "Error");
    EXPECT_EQ(failed->messageLabel()->text(), HCFriendImporter::kFailedMessage);
    EXPECT_EQ(requestsTo("users_credentials"), 0u);
}

TEST_F(FriendsPagesTest, NobodyPlayingOffersTheNetworksNotLinkedYetOrElseSaysSo)
{
    startOnline();
    arrange({}, {});
    openPage("WhosPlaying");
    const std::string tail = " to see what Halcyon games they're playing, compare progress, and more.";
    EXPECT_TRUE(platform::ui::Driver::findByText(
        topPage()->view(), std::string(HCWhosPlayingController::kNoDataMessage) +
                               " Import your friends from Twitter or Facebook" + tail));
    ASSERT_TRUE(tapButton("Import Friends"));
    EXPECT_TRUE(topPageAs<HCImportFriendsController>());

    link(kUserId, "twitter");
    link(kUserId, "fbconnect");
    ASSERT_TRUE(driver->tapBack());
    settle();
    openPage("WhosPlaying");
    EXPECT_EQ(screenRows(), std::vector<std::string>{"(" + std::string(HCWhosPlayingController::kNoDataMessage) + ")"});
}

}  // namespace

namespace {

// Players in two sections, as who's playing (game players) and as the
// friends page (users) get them.
std::string inSections(bool gamePlayers)
{
    auto player = [&](const char* id, const char* name) {
        const std::string user = std::string("<user><id>") + id + "</id><name>" + name + "</name></user>";
        return gamePlayers ? "<game_player><app_gamerscore>30</app_gamerscore>" + user + "</game_player>" : user;
    };
    return "<resource_sections>"
           "<resource_section><name>Online Now</name><identifier>online</identifier><resources>" +
           player("1002", "Ben") +
           "</resources></resource_section>"
           "<resource_section><name>Played Before</name><identifier>before</identifier><resources>" +
           player("1003", "Dora") + "</resources></resource_section></resource_sections>";
}

std::vector<std::string> headersOf(const std::vector<std::string>& rows)
{
    std::vector<std::string> headers;
    for (const auto& row : rows)
        if (row.rfind("[", 0) == 0) headers.push_back(row);
    return headers;
}

// The game's own look for a section header: a crest before the title.
class GameHeaderLook {
public:
    explicit GameHeaderLook(std::string shortName) : nib_(std::move(shortName) + "Game")
    {
        HCControllerLoader::setOverrideAssetFileSuffix(std::string("Game"));
        platform::ui::NibRegistry::registerNib(nib_, [](const platform::ObjectPtr&) {
            auto header = platform::ui::View::make(platform::ui::Rect(0, 0, 320, 30));
            auto crest = platform::ui::Label::make(platform::ui::Rect(0, 0, 40, 30));
            crest->setText("Crest");
            auto title = platform::ui::Label::make(platform::ui::Rect(40, 0, 280, 30));
            title->setTag(1);
            header->addSubview(crest);
            header->addSubview(title);
            return std::vector<platform::ObjectPtr>{header};
        });
    }
    ~GameHeaderLook()
    {
        HCControllerLoader::setOverrideAssetFileSuffix(std::nullopt);
        platform::ui::NibRegistry::unregisterNib(nib_);
    }

private:
    std::string nib_;
};

TEST_F(FriendsPagesTest, WhosPlayingAndFriendsHeadTheirSectionsWithTheirOwnHeaderViewsWhichTheGameMayDress)
{
    const std::vector<std::string> plain{"[Online Now]", "[Played Before]"};
    const std::vector<std::string> dressed{"[Crest | Online Now]", "[Crest | Played Before]"};
    startOnline();
    auto serve = [&](bool gamePlayers) {
        server->faults().injectFor("GET", "users.xml",
                                   localserver::Fault::reply(200, inSections(gamePlayers), "application/xml"));
    };
    serve(true);
    openPage("WhosPlaying");
    EXPECT_EQ(headersOf(screenRows()), plain);
    {
        GameHeaderLook look("WhosPlayingSectionHeaderView");
        serve(true);
        openPage("WhosPlaying");
        EXPECT_EQ(headersOf(screenRows()), dressed);
    }
    GameHeaderLook look("PlainTableSectionHeader");
    serve(false);
    openPage("Friends");
    EXPECT_EQ(headersOf(screenRows()), dressed);
}

class FriendsAtScaleTest : public FriendsPagesTest {
protected:
    // Ann follows Ben and `count` more players, "Player 20000" onwards.
    void followMany(int count)
    {
        std::vector<std::string> followed{kOtherUserId};
        for (int i = 0; i < count; ++i) {
            const std::string id = std::to_string(20000 + i);
            server->accounts().addUser(localserver::User(id, "Player " + id));
            followed.push_back(id);
        }
        arrange({}, followed);
    }
    // The rows the player can scroll through, and what the first and the
    // last one show (reading every row of a list this long would cost the
    // test more than the page does).
    int rowCount() const
    {
        auto table = topPageAs<HCTableControllerHelper>()->tableView();
        int rows = 0;
        for (int section = 0; section < table->numberOfSections(); ++section) rows += table->numberOfRowsInSection(section);
        return rows;
    }
    std::string firstRow() const
    {
        auto cell = topPageAs<HCTableControllerHelper>()->tableView()->cellForRowAtIndexPath({0, 0});
        return cell ? platform::ui::Driver::labelsText(cell) : std::string();
    }
    std::string lastRow() const
    {
        auto table = topPageAs<HCTableControllerHelper>()->tableView();
        const int section = table->numberOfSections() - 1;
        const platform::ui::IndexPath last{section, table->numberOfRowsInSection(section) - 1};
        table->scrollToRowAtIndexPath(last, platform::ui::TableViewScrollPosition::Bottom, false);
        table->layoutIfNeeded();
        auto cell = table->cellForRowAtIndexPath(last);
        return cell ? platform::ui::Driver::labelsText(cell) : std::string();
    }
};

TEST_F(FriendsAtScaleTest, TenThousandFriendsAllShowAndAListCutShortShowsNoneOfIt)
{
    followMany(10000);
    startOnline();
    // The list stops inside its second player: the first one, whole, is no
    // list of friends.
    server->faults().injectFor("GET", "users.xml",
                               localserver::Fault::reply(200,
                                                         "<resource_sections><resource_section><name>B</name>"
                                                         "<identifier>B</identifier><resources><user><id>1002</id>"
                                                         "<name>Ben</name></user><user><id>20",
                                                         "application/xml"),
                               1);
    openPage("Friends");
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(rowCount(), 0);
    EXPECT_FALSE(platform::ui::Driver::findByText(topPage()->view(), "Ben"));

    ASSERT_TRUE(pickTab("Pending"));
    ASSERT_TRUE(pickTab("Friends"));
    EXPECT_EQ(rowCount(), 10001);
    EXPECT_NE(firstRow().find("Ben"), std::string::npos);
    EXPECT_NE(lastRow().find("Player 29999"), std::string::npos);
}

}  // namespace
