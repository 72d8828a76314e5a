// The activity poller against the local server's feed with the real reply
// reader: the failure notification and what damaged replies still yield
// (last-seen ids on the wire are the poller's own test).
#include <gtest/gtest.h>

#include "core/poller/HCResourcePollerReplyReader.h"
#include "core/resources/HCResourceClass.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/routes/ActivityRoutes.h"
#include "platform/foundation/NotificationCenter.h"
#include "support/TestSupport.h"
#include "transport/poller/HCPoller.h"

namespace {

constexpr const char* kPath = "users/@me/activities.xml";

struct Posted {
    std::string name;
    platform::ObjectPtr object;
    std::shared_ptr<platform::Dictionary> userInfo;
    bool onMainThread = false;
};

class PollerEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCPoller::setReplyReader(std::make_shared<HCResourcePollerReplyReader>());
        feed = localserver::registerActivityRoutes(*server);
        poller = HCPoller::initWithProvider(provider, kPath);
        auto players = HCPollerResourceClassNamed(HCRegisterResourceClass<ProbePlayer>());
        ASSERT_TRUE(players);
        poller->registerResourceClass(*players);
        for (const char* name : {"probe_player_discovered", HCPollingFailed}) {
            platform::NotificationCenter::defaultCenter().addObserver(
                this, name, [this](const platform::Notification& n) {
                    posted.push_back(Posted{n.name, n.object, n.userInfo, platform::Thread::isMainThread()});
                });
        }
    }
    void TearDown() override
    {
        platform::NotificationCenter::defaultCenter().removeObserver(this);
        poller = nullptr;
        HCPoller::setReplyReader(nullptr);
        LiveServerTest::TearDown();
    }

    void post(const std::string& element, const std::string& id, const std::string& name)
    {
        feed->post(localserver::resourceNode(element, id, {{"name", name}}));
    }

    // Polls once and waits until the reply has been read and its news posted.
    void pollAndSettle()
    {
        poller->pollNow();
        fence();
    }

    static std::vector<std::string> names(const Posted& p)
    {
        std::vector<std::string> out;
        auto resources = p.userInfo ? p.userInfo->get<platform::Array>(HCPollerNotificationKeyResources) : nullptr;
        if (!resources) return out;
        for (const auto& r : resources->items()) out.push_back(platform::as<ProbePlayer>(r)->name());
        return out;
    }

    std::shared_ptr<localserver::ActivityFeed> feed;
    std::shared_ptr<HCPoller> poller;
    std::vector<Posted> posted;
};

using Names = std::vector<std::string>;

TEST_F(PollerEndToEndTest, AnErrorStatusFailsThePollButDamagedRepliesYieldWhatWasRead)
{
    server->faults().injectFor("GET", kPath, localserver::Fault::reply(500, "down"));
    pollAndSettle();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].name, HCPollingFailed);
    EXPECT_TRUE(posted[0].onMainThread);
    EXPECT_EQ(platform::textOf(posted[0].object), kPath);
    posted.clear();

    server->faults().injectFor("GET", kPath, localserver::Fault::reply(200, "garbage"));
    pollAndSettle();
    EXPECT_TRUE(posted.empty());

    // A cut-off reply still yields the player whose element had begun.
    server->faults().injectFor("GET", kPath,
                               localserver::Fault::reply(200, "<resources><player><id>5</id><name>Ann</name>"));
    pollAndSettle();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].name, "probe_player_discovered");
    EXPECT_EQ(names(posted[0]), Names{"Ann"});
    EXPECT_EQ(poller->lastSeenId(HCClassName<ProbePlayer>()), 5);
}

}  // namespace
