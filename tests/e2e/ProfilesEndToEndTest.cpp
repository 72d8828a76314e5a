// Profiles, gamer scores, the ticker and the push token over real HTTP
// against the local server.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/push/HCPushNotificationService.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/users/HCUser.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "social/profiles/HCGamerscore.h"
#include "social/profiles/HCProfileService.h"
#include "social/profiles/HCUserGameStat.h"
#include "social/ticker/HCTicker.h"
#include "social/ticker/HCTickerService.h"

namespace {

using namespace localserver::defaults;

template <class T>
std::vector<std::shared_ptr<T>> ofType(const HCPaginatedSeries& series)
{
    std::vector<std::shared_ptr<T>> out;
    for (const auto& object : series.objects())
        if (auto typed = platform::as<T>(object)) out.push_back(typed);
    return out;
}

class ProfilesEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCProfileService::initializeService();
        HCTickerService::initializeService();
        HCPushNotificationService::initializeService();
        HCClientStateQueries queries;
        queries.lastLoggedInUserId = [] { return std::optional<std::string>(kUserId); };
        HCClientState::setQueries(queries);
    }
    void TearDown() override
    {
        HCClientState::setQueries({});
        HCPushNotificationService::shutdownService();
        HCTickerService::shutdownService();
        HCProfileService::shutdownService();
        LiveServerTest::TearDown();
    }


    localserver::Request last() { return server->log().entries().back().request; }
};

TEST_F(ProfilesEndToEndTest, OwnProfileIsMeWithoutComparisonAnotherIsComparedToMe)
{
    for (const std::optional<std::string>& own : {std::optional<std::string>(), std::optional<std::string>(kUserId)}) {
        Outcome outcome;
        ASSERT_TRUE(HCProfileService::getProfileForUser(own, outcome.success(), outcome.failed()));
        ASSERT_TRUE(waitFor(outcome));
        ASSERT_FALSE(outcome.failure);
        EXPECT_EQ(last().path, "profiles/me/");
        EXPECT_FALSE(last().param("compared_to_user_id"));
        // The profile comes in sections: the player, whom the player follows, the games played.
        std::map<std::string, HCPaginatedSeriesPtr> sections;
        for (const auto& object : outcome.series->objects())
            if (auto section = platform::as<HCTableSectionDescription>(object))
                sections[section->identifier().value_or("")] = section->page();
        ASSERT_EQ(sections.size(), 3u);
        ASSERT_TRUE(sections["friends"] && sections["friends"]->header());
        EXPECT_EQ(sections["friends"]->header()->totalObjects(), 1u) << "Ann follows Ben";
        ASSERT_TRUE(sections["games"] && sections["games"]->header());
        EXPECT_EQ(sections["games"]->header()->totalObjects(), 1u);
        auto player = sections["player"];
        ASSERT_TRUE(player);
        auto users = ofType<HCUser>(*player);
        ASSERT_EQ(users.size(), 1u);
        EXPECT_EQ(users[0]->name(), kUserName);
        auto stats = ofType<HCUserGameStat>(*player);
        ASSERT_EQ(stats.size(), 1u);
        EXPECT_TRUE(stats[0]->userHasGame());
        EXPECT_EQ(stats[0]->userId(), kUserId);
    }
    Outcome other;
    ASSERT_TRUE(HCProfileService::getProfileForUser(std::string(kOtherUserId), other.success(), other.failed()));
    ASSERT_TRUE(waitFor(other));
    ASSERT_FALSE(other.failure);
    EXPECT_EQ(last().path, std::string("profiles/") + kOtherUserId + "/");
    EXPECT_EQ(last().param("compared_to_user_id"), "me");

    Outcome score;
    ASSERT_TRUE(HCProfileService::getGamerscoreForUser(std::nullopt, score.success(), score.failed()));
    ASSERT_TRUE(waitFor(score));
    EXPECT_EQ(last().path, "profiles/me/gamerscore");
    auto scores = score.objects<HCGamerscore>();
    ASSERT_EQ(scores.size(), 1u);
    EXPECT_EQ(scores[0]->userId(), 1001u);
    EXPECT_EQ(scores[0]->gamerscore(), 410u);

    HCProfileService::viewedOwnProfilePage();
    fence();
    const auto entries = server->log().entries();
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(),
                            [](const auto& e) { return e.request.path == "profiles/viewed_own"; }));
}

TEST_F(ProfilesEndToEndTest, AnEmptyUserIdNamesNobodyAndIsRefusedWithoutARequest)
{
    fence();
    const auto before = server->log().size();
    Outcome profile, score;
    EXPECT_EQ(HCProfileService::getProfileForUser(std::string(), profile.success(), profile.failed()), nullptr);
    EXPECT_EQ(HCProfileService::getGamerscoreForUser(std::string(), score.success(), score.failed()), nullptr);
    for (const Outcome* outcome : {&profile, &score}) {
        ASSERT_TRUE(waitFor(*outcome));
        EXPECT_FALSE(outcome->series);
        EXPECT_FALSE(outcome->failure);
        EXPECT_TRUE(outcome->onMainThread);
    }
    fence();
    EXPECT_EQ(server->log().size(), before + 1) << "only the fence reached the server";
}

TEST_F(ProfilesEndToEndTest, TheTickerComesInPages)
{
    Outcome second;
    ASSERT_TRUE(HCTickerService::getPage(2, second.success(), second.failed()));
    ASSERT_TRUE(waitFor(second));
    EXPECT_EQ(last().param("page"), "2");
    auto lines = second.objects<HCTicker>();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->message(), "Weekend challenge open");
    EXPECT_EQ(lines[0]->date(), "2026-01-01T05:00:00Z");
}

TEST_F(ProfilesEndToEndTest, ThePushTokenIsEscapedOnceAndANilTokenSendsNothing)
{
    auto token = std::make_shared<platform::Data>(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8});
    Outcome registered;
    ASSERT_TRUE(HCPushNotificationService::setDeviceToken(token, registered.success(), registered.failed()));
    ASSERT_TRUE(waitFor(registered));
    ASSERT_FALSE(registered.failure);
    EXPECT_EQ(last().path, "push_notification_device_tokens.xml");
    EXPECT_EQ(last().params.front(), (std::pair<std::string, std::string>("apns_environment", "production")));
    EXPECT_EQ(last().param("device_token"), "01020304 05060708");
    EXPECT_NE(last().body.find("device_token=01020304%2005060708"), std::string::npos) << last().body;
    EXPECT_EQ(last().body.find("%25"), std::string::npos) << "escaped twice: " << last().body;

    const auto before = server->log().entries().size();
    Outcome refused;
    EXPECT_FALSE(HCPushNotificationService::setDeviceToken(nullptr, refused.success(), refused.failed()));
    ASSERT_TRUE(waitFor(refused));
    EXPECT_FALSE(refused.series);
    EXPECT_EQ(server->log().entries().size(), before);

    // The platform's hand-over registers the token the same way.
    Halcyon::applicationDidRegisterForRemoteNotificationsWithDeviceToken(token);
    fence();
    EXPECT_EQ(server->log().entries().size(), before + 2);  // the token, then the fence
    EXPECT_EQ(server->log().entries()[before].request.param("device_token"), "01020304 05060708");
}

}  // namespace
