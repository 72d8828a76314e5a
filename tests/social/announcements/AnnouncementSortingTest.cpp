// The orderings of announcements with dates missing, and replies with two,
// one or no sections, or none at all.
#include <gtest/gtest.h>

#include "core/replies/HCTableSectionDescription.h"
#include "kernel/xml/HCXmlDocument.h"
#include "social/announcements/HCAnnouncement.h"
#include "social/announcements/HCAnnouncementService.h"

namespace {

class AnnouncementSortingTest : public ::testing::Test {
protected:
    void SetUp() override { HCAnnouncementService::initializeService(); }
    void TearDown() override { HCAnnouncementService::shutdownService(); }

    static std::shared_ptr<HCPaginatedSeries> read(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        return HCResource::resourcesFromXml(*document,
                                            HCAnnouncementService::sharedInstance()->getKnownResources().get());
    }

    static std::string discussion(const char* id, const char* created, bool sticky = false)
    {
        std::string xml = std::string("<discussion><id>") + id + "</id><sticky>" + (sticky ? "true" : "false") +
                          "</sticky>";
        if (created) xml += std::string("<created_at>") + created + "</created_at>";
        return xml + "</discussion>";
    }

    static std::vector<std::string> ids(const std::vector<HCAnnouncementPtr>& list)
    {
        std::vector<std::string> out;
        for (const auto& a : list) out.push_back(a->resourceId().value_or("?"));
        return out;
    }
};

TEST_F(AnnouncementSortingTest, MissingDatesSortOldestAndStickyOnesLeadStably)
{
    auto list = HCAnnouncementService::combineSections(
        read("<resources>" + discussion("a", nullptr) + discussion("b", "2026-01-02T00:00:00Z") +
             discussion("c", "garbage") + discussion("d", "2026-01-03T00:00:00Z") +
             discussion("e", "2025-01-01T00:00:00Z", true) + discussion("f", "2025-06-01T00:00:00Z", true) +
             discussion("g", nullptr, true) + "</resources>"));
    ASSERT_EQ(list.size(), 7u);
    auto byDate = list;
    HCAnnouncement::sort(byDate, HCAnnouncement::kByCreationDate);
    EXPECT_EQ(ids(byDate), (std::vector<std::string>{"d", "b", "f", "e", "a", "c", "g"}));
    auto sticky = list;
    HCAnnouncement::sortStickyFirst(sticky);
    EXPECT_EQ(ids(sticky), (std::vector<std::string>{"f", "e", "g", "d", "b", "a", "c"}));
    auto unsorted = list;
    HCAnnouncement::sort(unsorted, 7);
    EXPECT_EQ(ids(unsorted), ids(list));

    // Many undated ones: a consistent order never runs off the list.
    std::vector<HCAnnouncementPtr> many;
    for (int i = 0; i < 200; ++i) many.push_back(list[static_cast<size_t>(i) % list.size()]);
    HCAnnouncement::sortStickyFirst(many);
    EXPECT_EQ(many.size(), 200u);
}

TEST_F(AnnouncementSortingTest, RepliesWithFewerSectionsDeliverWhatIsThere)
{
    auto two = read("<resource_sections><resource_section><name>Game</name><resources>" + discussion("1", nullptr) +
                    "</resources></resource_section><resource_section><name>Dev</name><resources>" +
                    discussion("2", nullptr) + discussion("3", nullptr) +
                    "</resources></resource_section></resource_sections>");
    auto [app, dev] = HCAnnouncementService::appAndDevSections(two);
    EXPECT_EQ(ids(app), (std::vector<std::string>{"1"}));
    EXPECT_EQ(ids(dev), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(ids(HCAnnouncementService::combineSections(two)), (std::vector<std::string>{"1", "2", "3"}));

    auto one = read("<resource_sections><resource_section><name>Game</name><resources>" + discussion("1", nullptr) +
                    "</resources></resource_section></resource_sections>");
    auto [oneApp, oneDev] = HCAnnouncementService::appAndDevSections(one);
    EXPECT_EQ(ids(oneApp), (std::vector<std::string>{"1"}));
    EXPECT_TRUE(oneDev.empty());

    auto flat = read("<resources>" + discussion("4", nullptr) + "</resources>");
    auto [flatApp, flatDev] = HCAnnouncementService::appAndDevSections(flat);
    EXPECT_EQ(ids(flatApp), (std::vector<std::string>{"4"}));
    EXPECT_TRUE(flatDev.empty());

    for (const char* nothing : {"<resources></resources>", "<resource_sections></resource_sections>", "<junk"}) {
        auto [a, d] = HCAnnouncementService::appAndDevSections(read(nothing));
        EXPECT_TRUE(a.empty() && d.empty()) << nothing;
        EXPECT_TRUE(HCAnnouncementService::combineSections(read(nothing)).empty());
    }
}

}  // namespace
