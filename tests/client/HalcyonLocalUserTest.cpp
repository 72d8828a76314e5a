// The local player and the game's profile in the user options: what a fresh
// install answers, what survives a restart, the user-changed notice, and the
// counters kept apart per player.
#include <atomic>

#include "client/support/HalcyonTest.h"
#include "client/support/UserChanges.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Thread.h"

namespace {

std::shared_ptr<HCUser> player(const char* id, const char* name)
{
    auto user = HCResource::initWithId<HCUser>(std::string(id));
    user->setName(std::string(name));
    return user;
}

class HalcyonLocalUserTest : public HalcyonTest {
protected:
    void startQuietly() { start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}})); }
    // Ann (1001) plays, in game 77 with leaderboards.
    static void annPlaysGame77()
    {
        Halcyon::setLocalUser(player("1001", "Ann"));
        auto info = HCResource::initWithId<HCGameProfilePageInfo>(std::string("77"));
        info->setHasLeaderboards(std::string("true"));
        Halcyon::setLocalGameProfileInfo(info);
    }
    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(this);
        HalcyonTest::TearDown();
    }
};

TEST_F(HalcyonLocalUserTest, AFreshInstallAnswersTheInvalidUserOnceTheClientExists)
{
    EXPECT_EQ(Halcyon::localUser(), nullptr);
    startQuietly();
    ASSERT_NE(Halcyon::localUser(), nullptr);
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "0");
    EXPECT_EQ(Halcyon::lastLoggedInUserName(), std::optional<std::string>("Not Logged In"));
    EXPECT_EQ(Halcyon::localGameProfileInfo()->name(), std::optional<std::string>("Tolvarine Ruvuru"));
    EXPECT_FALSE(Halcyon::appHasLeaderboards());
}

TEST_F(HalcyonLocalUserTest, ThePlayerAndTheGameProfileSurviveARestart)
{
    startQuietly();
    annPlaysGame77();
    EXPECT_EQ(Halcyon::clientApplicationId(), std::optional<std::string>("77"));

    restartProcess();
    startQuietly();
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "1001");
    EXPECT_EQ(Halcyon::lastLoggedInUserName(), std::optional<std::string>("Ann"));
    EXPECT_TRUE(Halcyon::appHasLeaderboards());
    EXPECT_EQ(Halcyon::localGameProfileInfo()->resourceId(), std::optional<std::string>("77"));

    // The rename stores a copy: a page holding the player keeps the name it showed.
    const auto shown = Halcyon::localUser();
    Halcyon::loggedInUserChangedNameTo("Annie");
    EXPECT_TRUE(Halcyon::lastLoggedInUserHasSetName());
    EXPECT_EQ(shown->name(), std::optional<std::string>("Ann"));
    restartProcess();
    startQuietly();
    EXPECT_EQ(Halcyon::lastLoggedInUserName(), std::optional<std::string>("Annie"));
}

TEST_F(HalcyonLocalUserTest, SettingThePlayerFromTheRequestThreadNotifiesOnTheMainThread)
{
    startQuietly();
    std::vector<std::string> seen;
    bool onMain = false;
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationUserChanged, [&](const platform::Notification& n) {
            auto before = n.userInfo->get<HCUser>(HCNSNotificationInfoPreviousUser);
            auto after = n.userInfo->get<HCUser>(HCNSNotificationInfoCurrentUser);
            seen.push_back(before->resourceId().value_or("?") + "->" + after->resourceId().value_or("?"));
            onMain = platform::Thread::isMainThread();
        });
    auto requestThread = platform::Thread::start("request");
    requestThread->runLoop()->post([] { Halcyon::setLocalUser(player("1001", "Ann")); });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !seen.empty(); }));
    requestThread->cancel();
    EXPECT_EQ(seen, std::vector<std::string>{"0->1001"});
    EXPECT_TRUE(onMain);
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "1001");
}

// A log-in reply without a player or a profile stores their absence: the
// earlier player does not linger, and the pages hear of the change.
TEST_F(HalcyonLocalUserTest, APlayerAndProfileSetToNilAreStoredAsNilAndTheChangeIsTold)
{
    startQuietly();
    annPlaysGame77();
    std::vector<std::string> seen;
    recordUserChanges(this, seen);
    Halcyon::setLocalUser(nullptr);
    Halcyon::setLocalGameProfileInfo(nullptr);
    testsupport::drainMain();
    EXPECT_EQ(seen, std::vector<std::string>{"1001->nil"});
    EXPECT_EQ(Halcyon::localUser(), nullptr);
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "0");
    EXPECT_EQ(Halcyon::lastLoggedInUserName(), std::nullopt);
    EXPECT_EQ(Halcyon::clientApplicationId(), std::nullopt);
    EXPECT_FALSE(Halcyon::appHasLeaderboards());

    restartProcess();
    startQuietly();
    EXPECT_EQ(Halcyon::localUser(), nullptr);
    EXPECT_EQ(Halcyon::localGameProfileInfo()->resourceId(), std::nullopt);
}

TEST_F(HalcyonLocalUserTest, CountersBelongToThePlayerTheyWereCountedFor)
{
    startQuietly();
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 1);
    Halcyon::setLocalUser(player("1001", "Ann"));
    EXPECT_EQ(Halcyon::numberOfGameSessions(), 0);
    Halcyon::incrementNumberOfDashboardLaunches();
    Halcyon::setLocalUser(player("1002", "Ben"));
    EXPECT_EQ(Halcyon::numberOfDashboardLaunches(), 0);
    Halcyon::setLocalUser(player("1001", "Ann"));
    EXPECT_EQ(Halcyon::numberOfDashboardLaunches(), 1);
}

TEST_F(HalcyonLocalUserTest, ResettingTheApprovalLogsThePlayerOut)
{
    startQuietly();
    Halcyon::setUserApprovedHalcyon();
    Halcyon::setLocalUser(player("1001", "Ann"));
    Halcyon::_resetHasUserSetHalcyonAccess();
    EXPECT_FALSE(Halcyon::hasUserSetHalcyonAccess());
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "0");
}

TEST_F(HalcyonLocalUserTest, TheRequestThreadStoresThePlayerWhileTheMainThreadReadsIt)
{
    startQuietly();
    std::atomic<bool> writing{true};
    auto requestThread = platform::Thread::start("request");
    requestThread->runLoop()->post([&writing] {
        for (int i = 0; i < 200; ++i) {
            Halcyon::setLocalUser(player(i % 2 ? "1001" : "1002", "Ann"));
        }
        writing = false;
    });
    int reads = 0;
    while (writing || reads < 200) {
        auto user = Halcyon::localUser();
        ASSERT_NE(user, nullptr);
        const std::string id = user->resourceId().value_or("");
        ASSERT_TRUE(id == "0" || id == "1001" || id == "1002") << id;
        ++reads;
    }
    requestThread->cancel();
    testsupport::drainMain();
    EXPECT_EQ(Halcyon::lastLoggedInUserId(), "1001");
}

}  // namespace
