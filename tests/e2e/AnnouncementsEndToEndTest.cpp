// Announcements against the local server with the whole client running:
// the download after log-in with its "since", the kept list sticky first,
// the unread count recounted from the kept list, and the game's interface.
#include <gtest/gtest.h>

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "e2e/support/SocialClientTest.h"
#include "social/announcements/HCAnnouncement.h"
#include "social/announcements/HCAnnouncementService.h"

namespace {

class Recorder final : public HCAnnouncementDelegate {
public:
    void didDownloadAnnouncementsAppAnnouncements(const std::vector<HCAnnouncementPtr>& a,
                                                  const std::vector<HCAnnouncementPtr>& d) override
    {
        app = a;
        dev = d;
        ++calls;
    }
    std::vector<HCAnnouncementPtr> app, dev;
    int calls = 0;
};

std::vector<std::string> titles(const std::vector<HCAnnouncementPtr>& list)
{
    std::vector<std::string> out;
    for (const auto& a : list) out.push_back(a->title().value_or("?"));
    return out;
}

class AnnouncementsEndToEndTest : public SocialClientTest {
protected:
    void SetUp() override
    {
        SocialClientTest::SetUp();
        observe(HCNSNotificationUnreadAnnouncementCountChanged);
        start();
    }
    void TearDown() override
    {
        HCAnnouncement::setDelegate(nullptr);
        SocialClientTest::TearDown();
    }

    std::vector<unsigned> countsReported() const
    {
        std::vector<unsigned> counts;
        for (const auto& n : posted) {
            auto number = n.userInfo ? n.userInfo->get<platform::Number>(HCNSNotificationInfoUnreadAnnouncementCount)
                                     : nullptr;
            if (number) counts.push_back(static_cast<unsigned>(number->longLongValue()));
        }
        return counts;
    }

    std::vector<HCAnnouncementPtr> kept() const
    {
        std::vector<HCAnnouncementPtr> out;
        auto series = HCAnnouncementService::sharedInstance()->announcements();
        if (series)
            for (const auto& o : series->objects()) out.push_back(platform::as<HCAnnouncement>(o));
        return out;
    }
};

TEST_F(AnnouncementsEndToEndTest, TheLogInKeepsTheListStickyFirstAndCountsItsUnreadOnes)
{
    ASSERT_EQ(requestsTo("client_applications/1/forums/announcements.xml"), 1u);
    const auto since = server->log().entries().back().request.param("since");
    ASSERT_TRUE(since);
    EXPECT_NE(since->find("0001 00:00:00"), std::string::npos) << *since;  // the distant past
    EXPECT_EQ(titles(kept()), (std::vector<std::string>{"Welcome to Tolvarine", "Level pack 2 is out", "Our next game",
                                                        "Holiday sale"}));
    EXPECT_EQ(kept()[0]->body(), "Read the rules & have fun");
    EXPECT_TRUE(kept()[1]->isImportant());
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), 4u);
    EXPECT_EQ(countsReported(), (std::vector<unsigned>{4}));

    // Marking the kept one and the game's own copy of it counts once.
    Recorder recorder;
    HCAnnouncement::setDelegate(&recorder);
    ASSERT_TRUE(HCAnnouncement::downloadAnnouncementsAndSortBy(HCAnnouncement::kByUpdateDate));
    ASSERT_TRUE(waitUntil([&] { return recorder.calls > 0; }));
    EXPECT_EQ(titles(recorder.app), (std::vector<std::string>{"Level pack 2 is out", "Welcome to Tolvarine"}));
    EXPECT_EQ(titles(recorder.dev), (std::vector<std::string>{"Our next game", "Holiday sale"}));
    kept()[1]->markAsRead();
    recorder.app[0]->markAsRead();
    testsupport::drainMain();
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), 3u);
    EXPECT_EQ(countsReported(), (std::vector<unsigned>{4, 3}));
    // The newest read date is kept: the next download asks from it.
    ASSERT_TRUE(Halcyon::lastAnnouncementDateForLocalUser());
    EXPECT_EQ(Halcyon::lastAnnouncementDateForLocalUser()->timeIntervalSince1970(), 1767139200.0);
    kept()[3]->markAsRead();  // older: the stored date stays
    EXPECT_EQ(Halcyon::lastAnnouncementDateForLocalUser()->timeIntervalSince1970(), 1767139200.0);

    HCAnnouncementService::downloadAnnouncements();
    settle();
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), 0u);  // nothing newer than pack 2
    ASSERT_TRUE(HCAnnouncementService::sharedInstance()->announcements());
    // The dashboard going offline forgets them.
    ASSERT_TRUE(Halcyon::isHalcyonDashboardInOnlineMode());
    Halcyon::switchToOfflineDashboard();
    Reached index;
    HCAnnouncementService::sharedInstance()->getIndexOnSuccess(index.success(), index.failure());
    ASSERT_TRUE(waitFor(index));
    EXPECT_FALSE(index.object);
}

TEST_F(AnnouncementsEndToEndTest, AnAnnouncementReadAfterMarkAllReadStoresItsDateAndTheBadgeStaysDown)
{
    HCAnnouncementService::markAllAnnouncementsAsRead();
    EXPECT_EQ(countsReported(), (std::vector<unsigned>{4, 0}));
    kept()[1]->markAsRead();
    kept()[0]->markAsRead();
    testsupport::drainMain();
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), 0u);
    EXPECT_EQ(countsReported(), (std::vector<unsigned>{4, 0})) << "no recount raises the cleared badge";
    ASSERT_TRUE(Halcyon::lastAnnouncementDateForLocalUser());
    EXPECT_EQ(Halcyon::lastAnnouncementDateForLocalUser()->timeIntervalSince1970(), 1767139200.0);
    // So the next log-in's download brings none of them back unread.
    HCAnnouncementService::downloadAnnouncements();
    settle();
    EXPECT_EQ(HCAnnouncementService::unreadAnnouncements(), 0u);
}

}  // namespace
