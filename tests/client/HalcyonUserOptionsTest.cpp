// User options: what survives a restart of the client through the user
// defaults file, the announcement date, the counts and their notices.
#include "client/support/HalcyonTest.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/SendDenialDelegate.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Application.h"

namespace {

class HalcyonUserOptionsTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));
    }
    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(this);
        HalcyonTest::TearDown();
    }
    void record(const char* name, const char* key)
    {
        platform::NotificationCenter::defaultCenter().addObserver(
            this, name, [this, name, key](const platform::Notification& n) {
                auto value = n.userInfo ? n.userInfo->get<platform::Number>(key) : nullptr;
                notices.push_back(std::string(name) + "=" + (value ? value->stringValue() : "-"));
                onMain.push_back(platform::Thread::isMainThread());
            });
    }
    std::vector<std::string> notices;
    std::vector<bool> onMain;
};

TEST_F(HalcyonUserOptionsTest, OptionsSurviveARestartOfTheClient)
{
    EXPECT_TRUE(Halcyon::shouldAutomaticallyPromptLogin());
    EXPECT_FALSE(Halcyon::hasUserSetHalcyonAccess());
    Halcyon::setDontAutomaticallyPromptLogin();
    Halcyon::setUserDeniedHalcyon();
    Halcyon::setShouldWarnOnIncompleteDelegates(true);
    Halcyon::setLoggedInUserHasTwitterCredential(true);
    Halcyon::setUnreadIMCount(2, 3, 4);
    Halcyon::setPendingFriendsCount(5);
    Halcyon::setDisabled(true);
    Halcyon::storePollingFrequencyDefault(0);
    Halcyon::storePollingFrequencyInChat(7);

    restartProcess();
    start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));

    EXPECT_FALSE(Halcyon::shouldAutomaticallyPromptLogin());
    EXPECT_TRUE(Halcyon::hasUserSetHalcyonAccess());
    EXPECT_FALSE(Halcyon::hasUserApprovedHalcyon());
    EXPECT_FALSE(Halcyon::shouldWarnOnIncompleteDelegates());
    EXPECT_FALSE(Halcyon::loggedInUserHasFbconnectCredential());
    EXPECT_TRUE(Halcyon::loggedInUserHasTwitterCredential());
    EXPECT_EQ(Halcyon::unreadInboxTotal(), 9);
    EXPECT_EQ(Halcyon::myHalcyonBadge(), "9") << "start-up zeroes the pending friends";
    EXPECT_TRUE(Halcyon::isDisabled());
    EXPECT_EQ(Halcyon::getPollingFrequencyDefault(), 0) << "a stored 0 is not the registered default";
    EXPECT_EQ(Halcyon::getPollingFrequencyInChat(), 7);
}

// Only the service's 201 marks a refusal as sent; a refusal it did not
// record, or that never reached it, stays to be sent again.
TEST_F(HalcyonUserOptionsTest, ADenialCountsAsSentOnlyWhenTheServiceRecordedIt)
{
    auto store = platform::UserDefaults::standardUserDefaults();
    auto deliver = [](const platform::URLResult& result) {
        auto delegate = std::make_shared<SendDenialDelegate>();
        delegate->completion()(result);
    };
    platform::URLResult refused;
    refused.response.statusCode = 200;
    deliver(refused);
    platform::URLResult failed;
    failed.error = platform::NetError::make(platform::kNetErrorTimedOut);
    deliver(failed);
    EXPECT_EQ(store->objectForKey(SendDenialDelegate::kSentDisapprovalKey), nullptr);

    platform::URLResult recorded;
    recorded.response.statusCode = 201;
    deliver(recorded);
    EXPECT_EQ(store->stringForKey(SendDenialDelegate::kSentDisapprovalKey), std::optional<std::string>("YES"));
}

TEST_F(HalcyonUserOptionsTest, TheAnnouncementDateStartsInTheDistantPastAndOnlyMovesForward)
{
    EXPECT_EQ(Halcyon::lastAnnouncementDateForLocalUser()->timeIntervalSince1970(),
              platform::Date::distantPast()->timeIntervalSince1970());
    auto later = platform::Date::dateWithTimeIntervalSince1970(clock->now());
    auto earlier = platform::Date::dateWithTimeIntervalSince1970(clock->now() - 3600);
    Halcyon::setLastAnnouncementDateForLocalUser(earlier);
    EXPECT_EQ(Halcyon::lastAnnouncementDateForLocalUser()->timeIntervalSince1970(), earlier->timeIntervalSince1970());
    Halcyon::setLastAnnouncementDateForLocalUser(later);
    Halcyon::setLastAnnouncementDateForLocalUser(earlier);
    EXPECT_EQ(Halcyon::lastAnnouncementDateForLocalUser()->timeIntervalSince1970(), later->timeIntervalSince1970());
}

TEST_F(HalcyonUserOptionsTest, InboxSettersPostTheTotalFirstThenEachCount)
{
    record(HCNSNotificationUnreadInboxCountChanged, HCNSNotificationInfoUnreadInboxCount);
    record(HCNSNotificationUnreadIMCountChanged, HCNSNotificationInfoUnreadIMCount);
    record(HCNSNotificationUnreadPostCountChanged, HCNSNotificationInfoUnreadPostCount);
    record(HCNSNotificationUnreadInviteCountChanged, HCNSNotificationInfoUnreadInviteCount);

    Halcyon::setUnreadPostCount(2);
    Halcyon::setUnreadIMCount(1, 2, 3);
    EXPECT_EQ(notices, (std::vector<std::string>{
                           "HCNSNotificationUnreadInboxCountChanged=2", "HCNSNotificationUnreadPostCountChanged=2",
                           "HCNSNotificationUnreadInboxCountChanged=6", "HCNSNotificationUnreadIMCountChanged=1",
                           "HCNSNotificationUnreadPostCountChanged=2", "HCNSNotificationUnreadInviteCountChanged=3"}));
}

TEST_F(HalcyonUserOptionsTest, CountNoticesFromTheRequestThreadArriveOnTheMainThread)
{
    record(HCNSNotificationPendingFriendCountChanged, HCNSNotificationInfoPendingFriendCount);
    record(HCNSNotificationUnviewedChallengeCountChanged, HCNSNotificationInfoUnviewedChallengeCount);
    record(HCNSNotificationBootstrapCompleted, "none");

    auto requestThread = platform::Thread::start("request");
    requestThread->runLoop()->post([] {
        Halcyon::setPendingFriendsCount(4);
        Halcyon::setUnviewedChallengesCount(2);
        Halcyon::postBootstrapFailed();
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return notices.size() == 3; }));
    requestThread->cancel();
    EXPECT_EQ(notices, (std::vector<std::string>{"HCNSNotificationPendingFriendCountChanged=4",
                                                 "HCNSNotificationUnviewedChallengeCountChanged=2",
                                                 "HCNSNotificationBootstrapCompleted=-"}));
    EXPECT_EQ(onMain, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(Halcyon::pendingFriendsCount(), 4) << "the value is stored before the notice";
    EXPECT_EQ(platform::ui::Application::shared()->applicationIconBadgeNumber(), 2);
}

TEST_F(HalcyonUserOptionsTest, BootstrapNoticesEndWithOneCompletedAndBeganCarriesTheIdOnlyWhenGiven)
{
    std::vector<std::string> seen;
    for (const char* name : {HCNSNotificationBootstrapBegan, HCNSNotificationBootstrapSucceeded,
                             HCNSNotificationBootstrapFailed, HCNSNotificationBootstrapCompleted}) {
        platform::NotificationCenter::defaultCenter().addObserver(this, name, [&seen](const platform::Notification& n) {
            seen.push_back(n.name + (n.userInfo ? " " + n.userInfo->stringForKey(HCNSNotificationBootstrapBeganUserId)
                                                            .value_or("?")
                                                : ""));
        });
    }
    Halcyon::postBootstrapBegan(std::nullopt);
    Halcyon::postBootstrapBegan("1001");
    Halcyon::postBootstrapSucceeded();
    EXPECT_EQ(seen, (std::vector<std::string>{"HCNSNotificationBootstrapBegan", "HCNSNotificationBootstrapBegan 1001",
                                              "HCNSNotificationBootstrapSucceeded",
                                              "HCNSNotificationBootstrapCompleted"}));
}

}  // namespace
