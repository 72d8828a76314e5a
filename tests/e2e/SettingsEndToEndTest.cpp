// The player's settings and the newsletter over real HTTP against the local
// server, and the settings row's action table.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/replies/HCTableSectionDescription.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ClassRegistry.h"
#include "social/settings/HCNewsletterSubscription.h"
#include "social/settings/HCUserSetting.h"
#include "social/settings/HCUserSettingPushController.h"
#include "social/settings/HCUserSettingService.h"

namespace {

using namespace localserver::defaults;
using Pairs = std::vector<std::pair<std::string, std::string>>;

class SettingsEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCUserSettingService::initializeService();
        HCClientStateQueries queries;
        queries.clientApplicationId = [] { return std::optional<std::string>(kGameId); };
        HCClientState::setQueries(queries);
    }
    void TearDown() override
    {
        HCClientState::setQueries({});
        HCUserSettingService::shutdownService();
        LiveServerTest::TearDown();
    }

    // key=value of each on/off setting, in the order listed.
    std::vector<std::string> settings()
    {
        Outcome outcome;
        HCUserSettingService::sharedInstance()->getIndexOnSuccess(outcome.success(), outcome.failed());
        EXPECT_TRUE(waitFor(outcome));
        std::vector<std::string> out;
        if (!outcome.series) return out;
        for (const auto& object : outcome.series->objects()) {
            auto section = platform::as<HCTableSectionDescription>(object);
            if (!section || !section->page()) continue;
            for (const auto& row : section->page()->objects()) {
                if (auto s = platform::as<HCUserSetting>(row))
                    out.push_back(s->key().value_or("?") + "=" + s->value().value_or("?"));
                if (auto p = platform::as<HCUserSettingPushController>(row))
                    out.push_back("page " + p->controllerName().value_or("?") +
                                  (p->selectorToCall() ? " with action" : ""));
            }
        }
        return out;
    }

    localserver::Request last() { return server->log().entries().back().request; }
};

TEST_F(SettingsEndToEndTest, ASettingSwitchedOffAndOnByKeyShowsInTheList)
{
    EXPECT_EQ(settings(), (std::vector<std::string>{"location=1", "presence=1", "page NewsLetter"}))
        << "rows sent as \"setting\" read as settings; an empty action is none";
    EXPECT_FALSE(last().param("udid").value_or("").empty());

    Outcome off;
    ASSERT_TRUE(HCUserSettingService::setUserSettingWithKey(std::string("location"), false, off.success(), off.failed()));
    ASSERT_TRUE(waitFor(off));
    ASSERT_FALSE(off.failure);
    EXPECT_EQ(last().method, "POST");
    EXPECT_EQ(last().path, "users/@me/settings.xml");
    const auto sent = last().params;
    EXPECT_EQ(Pairs(sent.begin(), sent.end()),
              (Pairs{{"user_setting[key]", "location"}, {"user_setting[value]", "0"}}));
    EXPECT_EQ(settings()[0], "location=0");

    Outcome on;
    HCUserSettingService::setUserSettingWithKey(std::string("location"), true, on.success(), on.failed());
    ASSERT_TRUE(waitFor(on));
    EXPECT_EQ(last().param("user_setting[value]"), "1");
    Outcome byId;
    HCUserSettingService::setUserSettingWithId(std::string("72"), false, byId.success(), byId.failed());
    ASSERT_TRUE(waitFor(byId));
    EXPECT_EQ(last().param("user_setting[id]"), "72");

    Outcome one;
    HCUserSettingService::getUserSettingWithKey(std::string("presence"), one.success(), one.failed());
    ASSERT_TRUE(waitFor(one));
    EXPECT_EQ(last().path, "users/@me/settings/presence.xml");
    ASSERT_TRUE(one.series && one.series->objects().size() == 1);
    EXPECT_EQ(platform::as<HCUserSetting>(one.series->objects()[0])->value(), "0");
    EXPECT_EQ(settings()[0], "location=1");
}

TEST_F(SettingsEndToEndTest, TheNewsletterIsPostedAndDeletedOnOnePath)
{
    Outcome subscribed;
    ASSERT_TRUE(HCUserSettingService::setSubscribeToDeveloperNewsLetter(true, std::nullopt, subscribed.success(),
                                                                        subscribed.failed()));
    ASSERT_TRUE(waitFor(subscribed));
    EXPECT_EQ(last().method, "POST");
    EXPECT_EQ(last().path, "client_applications/1/news_letter_subscription.xml");
    ASSERT_TRUE(subscribed.series && subscribed.series->objects().size() == 1);
    auto subscription = platform::as<HCNewsletterSubscription>(subscribed.series->objects()[0]);
    ASSERT_TRUE(subscription && subscription->developer());
    EXPECT_EQ(subscription->developer()->name(), "Ruvuru Games");

    Outcome dropped;
    HCUserSettingService::setSubscribeToDeveloperNewsLetter(false, std::string(kGameId), dropped.success(),
                                                            dropped.failed());
    ASSERT_TRUE(waitFor(dropped));
    ASSERT_FALSE(dropped.failure);
    EXPECT_EQ(last().method, "DELETE");
    EXPECT_EQ(last().path, "client_applications/1/news_letter_subscription.xml");
    EXPECT_TRUE(last().params.empty());

    Outcome read;
    HCUserSettingService::getSubscribingToDeveloperNewsLetter(std::nullopt, read.success(), read.failed());
    ASSERT_TRUE(waitFor(read));
    EXPECT_EQ(last().method, "GET");
    EXPECT_TRUE(read.series && read.series->objects().empty());
}

class SettingsProbeController final : public platform::ui::ViewController {};

TEST_F(SettingsEndToEndTest, ARowRunsOnlyActionsInTheClientsTable)
{
    platform::registerClass<SettingsProbeController>("HCSettingsProbeController");
    std::vector<std::string> ran;
    HCUserSettingPushController::registerAction("showNewsletters", [&](const platform::ui::ViewControllerPtr& page) {
        ran.push_back(platform::as<SettingsProbeController>(page) ? "on the new page" : "elsewhere");
    });
    std::vector<std::string> logged;
    platform::setLogSink([&](platform::LogLevel, const std::string& line) { logged.push_back(line); });

    HCUserSettingPushController row;
    row.setControllerName(std::string("SettingsProbe"));
    row.setSelectorToCall(std::string("showNewsletters"));
    EXPECT_TRUE(platform::as<SettingsProbeController>(row.getController()));
    EXPECT_EQ(ran, (std::vector<std::string>{"on the new page"}));

    // A name the service sends but the client never listed runs nothing.
    row.setSelectorToCall(std::string("dealloc"));
    EXPECT_TRUE(row.getController());
    EXPECT_EQ(ran.size(), 1u);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("dealloc"), std::string::npos);

    row.setSelectorToCall(std::string(""));
    EXPECT_FALSE(row.selectorToCall());
    platform::setLogSink(nullptr);
    HCUserSettingPushController::unregisterAction("showNewsletters");
}

}  // namespace
