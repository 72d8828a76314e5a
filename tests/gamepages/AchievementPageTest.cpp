// The achievement list and the brag page as the player sees them: the own
// list from the device, another game's and a compared list from the
// service, the share row, the brag texts, and failures.
#include <algorithm>

#include "core/halcyon/Halcyon.h"
#include "core/publicclass/HCBragDelegate.h"
#include "core/users/HCUser.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/achievements/HCAchievementListController.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "platform/ui/Driver.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"
#include "social/playedgames/HCPlayedGame.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCControllerLoader.h"

namespace {

constexpr const char* kDefinitions = "client_applications/@me/achievement_definitions.xml";
constexpr const char* kSecretDescription = "You must unlock this achievement to view its description.";

class AchievementPageTest : public pagetest::PageHarness {
protected:
    // The server's four current achievements on the device, with the
    // player's progress in percent.
    void storeOnDevice(const std::vector<double>& percents)
    {
        std::vector<std::shared_ptr<HCAchievement>> list;
        const auto definitions = achievements->definitions();
        for (std::size_t i = 0; i < percents.size(); ++i) {
            const auto& d = definitions[i];
            auto achievement = HCResource::initWithId<HCAchievement>(d.id);
            achievement->setTitle(d.title);
            achievement->setDescription(d.description);
            achievement->setGamerscoreFromString(std::to_string(d.gamerscore));
            achievement->setIsSecretFromString(d.isSecret ? "true" : "false");
            achievement->setIconUrl(d.iconUrl);
            achievement->setPositionFromString(std::to_string(d.position));
            achievement->setStartVersion(std::string("0000.00.00"));
            achievement->setEndVersion(std::string("9999.99.99"));
            achievement->setPercentComplete(percents[i]);
            list.push_back(achievement);
        }
        ASSERT_TRUE(HCAchievementService::synchAchievementsList(list, Halcyon::lastLoggedInUserId()));
    }
    std::shared_ptr<HCTableControllerHelper> openGame(const std::string& id, const std::string& name)
    {
        return openPage("AchievementList", [&](const platform::ui::ViewControllerPtr& page) {
            auto list = std::dynamic_pointer_cast<HCAchievementListController>(page);
            list->setApplicationId(id);
            list->setApplicationName(name);
        });
    }
};

// Fills only the original message, so the page still writes the text.
class MessageOnlyBrag final : public HCBragDelegate {
public:
    void bragAboutAchievement(const std::shared_ptr<HCAchievement>& achievement, std::optional<std::string>*,
                              std::optional<std::string>* originalMessage) override
    {
        asked = achievement->title();
        *originalMessage = "from the game";
    }
    std::optional<std::string> asked;
};

TEST_F(AchievementPageTest, TheOwnListComesFromTheDeviceWithoutARequestAndOfflineOffersNoShareRow)
{
    startOffline();
    addBundleImage("HCLockedAchievementIcon.png");
    storeOnDevice({100, 99.9, 0.5, 30});
    openGame(localserver::defaults::kGameId, localserver::defaults::kGameName);
    EXPECT_EQ(requestsTo(kDefinitions), 0u);
    // A secret one under way shows what it is.
    EXPECT_EQ(screenRows(),
              (std::vector<std::string>{"[1/4 Achievements Unlocked]", "First Light | Clear the first level. | 10",
                                        "Stone Breaker | Break 1000 stones. | 20 | 99%",
                                        "Three Stars | Earn three stars on every level. | 50",
                                        "Insect Friend | Finish a level without hitting an insect. | 15 | 30%"}));
    EXPECT_EQ(rowPictures("First Light").at(0), "images/achievements/first_light.png");
    // 99.9 percent is not unlocked.
    EXPECT_EQ(rowPictures("Stone Breaker").at(0), "HCLockedAchievementIcon.png");
    EXPECT_FALSE(showsLoadingScreen());
}

TEST_F(AchievementPageTest, TheShareRowLeadsToBraggingAboutAllOrOneAchievement)
{
    startOnline();
    storeOnDevice({100, 40, 100, 0});
    MessageOnlyBrag brag;
    delegates->setBragDelegate(&brag);
    openGame(localserver::defaults::kGameId, localserver::defaults::kGameName);
    EXPECT_EQ(requestsTo(kDefinitions), 0u);
    auto rows = screenRows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[0], "Share your achievements");
    EXPECT_EQ(rows[1], "[2/4 Achievements Unlocked]");

    ASSERT_TRUE(tapRow("Share your achievements"));
    waitForIdle();
    // Only the unlocked ones, picked rather than scored.
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"2 out of 4 achievements unlocked",
                                                      "First Light | Clear the first level.",
                                                      "Three Stars | Earn three stars on every level."}));
    ASSERT_TRUE(tapRow("2 out of 4"));
    EXPECT_TRUE(platform::ui::Driver::findByText("I unlocked 2 out of 4 achievements in Tolvarine Ruvuru."));
    EXPECT_TRUE(platform::ui::Driver::findByText("achievement_definitions/game_icon"));
    HalcyonDashboard::getActiveNavigationController()->popViewController(false);
    waitForIdle();

    ASSERT_TRUE(tapRow("Three Stars"));
    EXPECT_EQ(brag.asked, std::optional<std::string>("Three Stars"));
    EXPECT_TRUE(platform::ui::Driver::findByText("I unlocked the achievement Three Stars in Tolvarine Ruvuru."));
    EXPECT_TRUE(platform::ui::Driver::findByText("achievement_definitions/3"));
    delegates->setBragDelegate(nullptr);
}

TEST_F(AchievementPageTest, WithoutTheGamesIdTheServiceListsTheRunningGameAndNothingUnlockedOffersNoShare)
{
    startOnline();
    storeOnDevice({100, 0, 0, 0});
    for (const char* id : {"", "@me"}) {
        openPage("AchievementList", [&](const platform::ui::ViewControllerPtr& page) {
            std::dynamic_pointer_cast<HCAchievementListController>(page)->setApplicationId(std::string(id));
        });
    }
    openPage("AchievementList");
    // The service's list of the running game, where Ann has unlocked nothing.
    EXPECT_EQ(requestsTo(kDefinitions), 3u);
    EXPECT_EQ(lastParam(kDefinitions, "by_app"), std::nullopt);
    const auto rows = screenRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "[0/5 Achievements Unlocked]");
}

TEST_F(AchievementPageTest, AnotherGamesListIsCountedWholeOverItsPagesAndOffersNoShareRow)
{
    startOnline();
    storeOnDevice({100, 0, 0, 0});
    achievements->record(localserver::defaults::kUserId, "201", 100, server->now());
    openGame(localserver::defaults::kOtherGameId, "Comets");
    EXPECT_EQ(requestsWithParam(kDefinitions, "by_app", localserver::defaults::kOtherGameId), 1u);
    auto rows = screenRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "[1/25 Achievements Unlocked]");

    scrollToEnd();
    waitForIdle();
    EXPECT_EQ(lastParam(kDefinitions, "page"), std::optional<std::string>("2"));
    rows = screenRows();
    ASSERT_EQ(rows.size(), 1u + localserver::defaults::kOtherGameAchievementCount);
    EXPECT_EQ(rows[0], "[1/27 Achievements Unlocked]");
    EXPECT_EQ(rows.back(), "Comet 27 | Catch comet 27. | 5");
}

TEST_F(AchievementPageTest, APlayedGameNamesTheGameListedAndTellsWhetherThePlayerHasIt)
{
    startOnline();
    auto stat = [](const char* userId, const char* has) {
        auto entry = std::make_shared<HCUserGameStat>();
        entry->setUserId(std::string(userId));
        entry->setUserHasGameFromString(std::string(has));
        return entry;
    };
    auto comets = std::make_shared<HCPlayedGame>();
    comets->setName(std::string("Comets"));
    comets->setClientApplicationId(std::string(localserver::defaults::kOtherGameId));
    comets->setIconUrl(std::string("images/comets.png"));
    // Ann's own entry counts, not Ben's after it.
    comets->setUserGameStats(platform::Array::make(
        {stat(localserver::defaults::kUserId, "true"), stat(localserver::defaults::kOtherUserId, "false")}));
    auto page = HCControllerLoader::load("AchievementList");
    auto list = std::dynamic_pointer_cast<HCAchievementListController>(page);
    ASSERT_TRUE(list);
    list->populateContextualDataFromPlayedGame(comets);
    EXPECT_TRUE(list->doesUserHaveApplication());

    ASSERT_TRUE(pushComparedWithBen(page));
    list->postPushAchievementListController();
    waitForIdle();
    EXPECT_EQ(requestsWithParam(kDefinitions, "by_app", localserver::defaults::kOtherGameId), 1u);
    // The comparison heads the list with the played game's name and icon.
    const auto rows = screenRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0], "Comets");
    const auto pictures = rowPictures("Comets");
    EXPECT_NE(std::find(pictures.begin(), pictures.end(), "images/comets.png"), pictures.end());
    // Reading every row asked for the next page.
    waitForIdle();

    auto unowned = std::make_shared<HCPlayedGame>();
    unowned->setUserGameStats(platform::Array::make({stat(localserver::defaults::kOtherUserId, "true")}));
    auto other = std::dynamic_pointer_cast<HCAchievementListController>(HCControllerLoader::load("AchievementList"));
    other->populateContextualDataFromPlayedGame(unowned);
    EXPECT_FALSE(other->doesUserHaveApplication());
}

TEST_F(AchievementPageTest, AComparedListShowsBothPlayersAndKeepsALockedSecretSecret)
{
    startOnline();
    addBundleImage("HCLockedAchievementIcon.png");
    addBundleImage("HCUnlockedAchievementIconNotSquare.png");
    storeOnDevice({100, 0, 0, 0});
    // Ben unlocked the secret one and the first; Ann only the first.
    achievements->record(localserver::defaults::kOtherUserId, "4", 100, server->now());
    achievements->record(localserver::defaults::kOtherUserId, "1", 100, server->now());
    achievements->record(localserver::defaults::kUserId, "1", 100, server->now());
    // Ann is under way on the secret one: hers is not unlocked, so it stays secret.
    achievements->record(localserver::defaults::kUserId, "4", 60, server->now());
    auto page = HCControllerLoader::load("AchievementList");
    auto list = std::dynamic_pointer_cast<HCAchievementListController>(page);
    list->setApplicationId(std::string(localserver::defaults::kGameId));
    list->setApplicationName(std::string("Tolvarine Ruvuru"));
    ASSERT_TRUE(pushComparedWithBen(page));
    auto navigation = std::dynamic_pointer_cast<HCFramedNavigationController>(
        HalcyonDashboard::getActiveNavigationController());
    ASSERT_TRUE(navigation);
    waitForIdle();

    EXPECT_EQ(lastParam(kDefinitions, "compared_to_user_id"), std::optional<std::string>("1002"));
    const auto rows = screenRows();
    // The service lists the retired fifth as well.
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "Tolvarine Ruvuru");
    EXPECT_EQ(rows[1], "First Light | Clear the first level. | 10");
    EXPECT_EQ(rows[4], std::string("Secret | ") + kSecretDescription + " | 15");
    // Theirs first: unlocked, but its icon stays hidden from Ann; hers locked.
    EXPECT_EQ(rowPictures("Secret"),
              (std::vector<std::string>{"HCUnlockedAchievementIconNotSquare.png", "HCLockedAchievementIcon.png"}));
    EXPECT_EQ(rowPictures("First Light"), (std::vector<std::string>{"images/achievements/first_light.png",
                                                                    "images/achievements/first_light.png"}));

    // The same player as the local one is no comparison, nor is a player without an id.
    navigation->changeProfileUsers(page, Halcyon::localUser(), Halcyon::localUser());
    waitForIdle();
    EXPECT_EQ(screenRows().at(1), "[1/4 Achievements Unlocked]");
    navigation->changeProfileUsers(page, Halcyon::localUser(), HCResource::initWithId<HCUser>(std::string()));
    waitForIdle();
    EXPECT_EQ(screenRows().at(1), "[1/4 Achievements Unlocked]");
}

TEST_F(AchievementPageTest, AFailedDroppedOrImpossibleLoadTakesTheLoadingScreenDown)
{
    startOnline();
    server->faults().injectFor("GET", kDefinitions, localserver::Fault::reply(500, "down"));
    openGame(localserver::defaults::kOtherGameId, "Comets");
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(screenRows(), std::vector<std::string>{std::string("(") + HCTableControllerHelper::kLoadFailedMessage + ")"});

    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        topPageAs<HCTableControllerHelper>()->reloadDataFromServer();
        EXPECT_TRUE(showsLoadingScreen());
        Halcyon::provider()->destroyAllPendingRequests();
    }
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
}

TEST_F(AchievementPageTest, OfflineAnotherGamesListAsksNothingAndShowsNoOtherList)
{
    startOffline();
    storeOnDevice({100, 0, 0, 0});
    openGame(localserver::defaults::kOtherGameId, "Comets");
    EXPECT_EQ(requestsTo(kDefinitions), 0u);
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(screenRows(), std::vector<std::string>{std::string("(") + HCTableControllerHelper::kLoadFailedMessage + ")"});
}

TEST_F(AchievementPageTest, AnEmptyListOfAnUnnamedGameNamesTheRunningGame)
{
    startOffline();
    openPage("AchievementList");
    const auto rows = screenRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), std::string("(There are no achievements for ") + localserver::defaults::kGameName + ")");
}

TEST_F(AchievementPageTest, TheLaunchOpensTheGamesAchievements)
{
    startOnline();
    storeOnDevice({100, 0, 0, 0});
    Halcyon::launchDashboardWithAchievementsPage();
    settle();
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCAchievementListController>());
    // The harness's tab root gives the page no game: the service lists the
    // running game, where Ann has unlocked nothing yet.
    EXPECT_EQ(requestsTo(kDefinitions), 1u);
    EXPECT_EQ(screenRows().at(0), "[0/5 Achievements Unlocked]");
}

}  // namespace
