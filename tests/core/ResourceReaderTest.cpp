// The reply reader on literal replies: flat and sectioned forms, headers,
// server notifications, nested fields, and damaged or hostile input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/banners/HCServerNotificationView.h"
#include "core/notifications/HCServerNotification.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/ProgrammingError.h"
#include "core/support/CoreTestResources.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/Application.h"
#include "support/BannerWindow.h"
#include "support/TestSupport.h"

namespace {

// A nested class that only its holder's data map names: nothing else
// registers it.
class TestRibbon final : public HCResource {
public:
    std::string getResourceName() const override { return "ribbon"; }
    const HCResourceDataMap& getDataMap() const override
    {
        static const auto map = [] {
            auto m = std::make_shared<HCResourceDataMap>();
            m->addField("colour", &TestRibbon::setColour);
            return m;
        }();
        return *map;
    }
    void setColour(const std::string& colour) { colour_ = colour; }
    std::string colour_;
};

class TestRibbonHolder final : public HCResource {
public:
    std::string getResourceName() const override { return "holder"; }
    const HCResourceDataMap& getDataMap() const override
    {
        static const auto map = [] {
            auto m = std::make_shared<HCResourceDataMap>();
            m->addNestedResourceField("ribbon", &TestRibbonHolder::setRibbon);
            m->addNestedResourceField("broken", [](platform::Object&, const platform::ObjectPtr&) {}, {}, "NoSuchClass");
            return m;
        }();
        return *map;
    }
    void setRibbon(std::shared_ptr<TestRibbon> ribbon) { ribbon_ = std::move(ribbon); }
    std::shared_ptr<TestRibbon> ribbon_;
};

class ResourceReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(sandbox.str());  // the banner gate reads the user options
        map = testNameMap();
        platform::ui::Application::resetShared();
        window = testsupport::BannerWindow::show();
    }
    void TearDown() override
    {
        clock.advance(60);  // every banner has come and gone
        testsupport::drainMain();
        platform::ui::Application::resetShared();
        platform::Sandbox::reset();
    }

    HCPaginatedSeriesPtr read(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        return HCResource::resourcesFromXml(*document, map.get());
    }

    static std::shared_ptr<TestPlayer> player(const HCPaginatedSeriesPtr& series, size_t index)
    {
        return platform::as<TestPlayer>(series->objectAtIndex(index));
    }

    // The server banners that slid in.
    std::vector<std::shared_ptr<HCServerNotificationView>> shown()
    {
        testsupport::drainMain();
        std::vector<std::shared_ptr<HCServerNotificationView>> out;
        for (const auto& banner : window->shown)
            if (auto server = std::dynamic_pointer_cast<HCServerNotificationView>(banner)) out.push_back(server);
        return out;
    }

    testsupport::TempDir sandbox;
    testsupport::ScopedManualClock clock;
    std::shared_ptr<testsupport::BannerWindow> window;
    std::shared_ptr<HCResourceNameMap> map;
};

TEST_F(ResourceReaderTest, FlatListKeepsDocumentOrderAndReadsTheHeader)
{
    auto series = read(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources>"
        "<player><id>3</id><name>Ann</name><score>10</score></player>"
        "<pagination_header><current_offset>20</current_offset><current_page>2</current_page>"
        "<total_pages>5</total_pages><per_page>10</per_page><total_entries>47</total_entries></pagination_header>"
        "<note><id>9</id><text>hello</text></note>"
        "<player><id>1</id><name>Ben</name></player>"
        "</resources>");
    ASSERT_EQ(series->count(), 3u);
    EXPECT_EQ(player(series, 0)->resourceId(), "3");
    EXPECT_EQ(player(series, 0)->name(), "Ann");
    EXPECT_EQ(player(series, 0)->score(), "10");
    auto note = platform::as<TestNote>(series->objectAtIndex(1));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text(), "hello");
    EXPECT_EQ(player(series, 2)->name(), "Ben");

    ASSERT_TRUE(series->header());
    EXPECT_EQ(series->header()->currentOffset(), 20u);
    EXPECT_EQ(series->header()->currentPage(), 2u);
    EXPECT_EQ(series->header()->totalPages(), 5u);
    EXPECT_EQ(series->header()->perPage(), 10u);
    EXPECT_EQ(series->header()->totalObjects(), 47u);
    EXPECT_FALSE(series->header()->isLastPageLoaded());
    EXPECT_EQ(series->tableMetaDataObjects(), nullptr);
    EXPECT_EQ(series->httpResponseStatusCode(), -1);
}

TEST_F(ResourceReaderTest, ALaterHeaderWinsAndBadNumbersReadAsTheirDefinedValues)
{
    auto twice = read(
        "<resources><pagination_header><current_page>1</current_page><total_pages>3</total_pages>"
        "</pagination_header><pagination_header><current_page>3</current_page><total_pages>3</total_pages>"
        "</pagination_header></resources>");
    EXPECT_TRUE(twice->header()->isLastPageLoaded());
    EXPECT_TRUE(twice->header()->isWithinRange());

    auto series = read(
        "<resources><pagination_header><current_page>12abc</current_page></pagination_header></resources>");
    ASSERT_TRUE(series->header());
    EXPECT_EQ(series->header()->currentPage(), 12u);
    // No page count: the list counts as complete.
    EXPECT_TRUE(series->header()->isLastPageLoaded());
    EXPECT_TRUE(series->header()->isWithinRange());
}

TEST_F(ResourceReaderTest, AHeaderNumberOutsideWhatAPageCountsWithMakesTheHeaderOutOfRange)
{
    auto header = [this](const std::string& child, const std::string& value) {
        auto series = read("<resources><pagination_header><" + child + ">" + value + "</" + child +
                           "></pagination_header></resources>");
        return series->header();
    };
    for (const char* child : {"current_offset", "current_page", "total_pages", "per_page", "total_entries"}) {
        SCOPED_TRACE(child);
        EXPECT_TRUE(header(child, "2147483647")->isWithinRange());
        EXPECT_FALSE(header(child, "2147483648")->isWithinRange());
        EXPECT_FALSE(header(child, "4294967296")->isWithinRange());
        EXPECT_FALSE(header(child, "99999999999999999999999")->isWithinRange());
        // A negative number must not pass for page 0 or for the last page.
        EXPECT_FALSE(header(child, "-4")->isWithinRange());
    }
    auto copy = HCPaginatedSeriesHeader::paginationHeaderClonedFrom(header("total_pages", "3000000000"));
    EXPECT_FALSE(copy->isWithinRange());
}

TEST_F(ResourceReaderTest, ServerNotificationIsShownAndNotReturned)
{
    auto series = read(
        "<resources><player><id>1</id><name>Ann</name></player>"
        "<server_notification><text>Welcome back</text><detail>3 new friends</detail>"
        "<backDefaultImage>bg.png</backDefaultImage><score>50</score><unknown>x</unknown></server_notification>"
        "<player><id>2</id><name>Ben</name></player></resources>");
    ASSERT_EQ(series->count(), 2u);
    EXPECT_EQ(player(series, 0)->name(), "Ann");
    EXPECT_EQ(player(series, 1)->name(), "Ben");
    auto banners = shown();
    ASSERT_EQ(banners.size(), 1u);
    EXPECT_EQ(testsupport::BannerWindow::textOf(banners[0]), "Welcome back | 3 new friends | 50");
    EXPECT_FALSE(banners[0]->backgroundImage->isHidden()) << "a background image was named";
    EXPECT_TRUE(banners[0]->icon->isHidden()) << "no icon was named nor sent";

    // Read with a map of its own, even when the service's map lacks it.
    auto document = HCXmlDocument::xmlDocumentWithData(
        std::string("<resources><server_notification><text>Hi</text></server_notification></resources>"));
    EXPECT_EQ(HCResource::resourcesFromXml(*document, nullptr)->count(), 0u);
    banners = shown();
    ASSERT_EQ(banners.size(), 2u);
    EXPECT_EQ(testsupport::BannerWindow::textOf(banners[1]), "Hi");
}

TEST_F(ResourceReaderTest, EachChildIsOneSetterCallAndUnknownsAreSkipped)
{
    auto series = read(
        "<resources><stranger><id>1</id></stranger><note><id>5</id><id>6</id><text>t</text></note>"
        "<player><id>3</id><colour>red</colour><name>Cy</name><name>second</name></player>"
        "<player><name/><id></id><score/><friends></friends></player></resources>");
    ASSERT_EQ(series->count(), 3u);
    // The first id is the resource id; a second goes through the data map.
    auto note = platform::as<TestNote>(series->objectAtIndex(0));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->resourceId(), "5");
    EXPECT_EQ(note->extraId(), "6");
    EXPECT_EQ(player(series, 1)->nameSets, 2);
    EXPECT_EQ(player(series, 1)->name(), "second");
    auto empty = player(series, 2);
    EXPECT_EQ(empty->resourceId(), std::nullopt);
    EXPECT_EQ(empty->nameSets, 1);
    EXPECT_EQ(empty->name(), std::nullopt);
    EXPECT_EQ(empty->score(), "");
    ASSERT_TRUE(empty->friends()) << "an empty nested array is an empty array, not nil";
    EXPECT_EQ(empty->friends()->count(), 0u);
}

TEST_F(ResourceReaderTest, NestedResourceTakesTheFieldClassAndNestedArrayTheNameMap)
{
    auto series = read(
        "<resources><player><id>1</id>"
        "<badge><id>70</id><title>Gold</title></badge>"
        "<friends><player><id>2</id><name>Ben</name></player><award><id>71</id></award>"
        "<stranger/><player><id>3</id><name>Cy</name></player></friends>"
        "</player></resources>");
    auto p = player(series, 0);
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->badge());
    EXPECT_EQ(p->badge()->resourceId(), "70");
    EXPECT_EQ(p->badge()->title(), "Gold");
    ASSERT_TRUE(p->friends());
    ASSERT_EQ(p->friends()->count(), 3u);
    EXPECT_EQ(platform::as<TestPlayer>(p->friends()->at(0))->name(), "Ben");
    EXPECT_EQ(platform::as<TestBadge>(p->friends()->at(1))->resourceId(), "71");
    EXPECT_EQ(platform::as<TestPlayer>(p->friends()->at(2))->name(), "Cy");
}

TEST_F(ResourceReaderTest, ATypedNestedFieldCreatesItsOwnClassAndAnUncreatableOneIsReported)
{
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    map->addResource("holder", HCRegisterResourceClass<TestRibbonHolder>());
    auto series = read("<resources><holder><ribbon><colour>blue</colour></ribbon><broken><id>1</id></broken></holder>"
                       "<gadget/></resources>");
    platform::setProgrammingErrorHandler(nullptr);
    auto holder = platform::as<TestRibbonHolder>(series->objectAtIndex(0));
    ASSERT_TRUE(holder && holder->ribbon_);
    EXPECT_EQ(holder->ribbon_->colour_, "blue");
    EXPECT_EQ(reports, (std::vector<std::string>{
                           "HCResource: the class 'NoSuchClass' for the element 'broken' is not a registered "
                           "resource class",
                           "HCResource: the class 'TestNotAResource' for the element 'gadget' is not a registered "
                           "resource class"}));
}

TEST_F(ResourceReaderTest, TableMetaDataInAFlatList)
{
    auto series = read(
        "<resources><table_meta_data><note><text>meta</text></note><stranger/></table_meta_data>"
        "<player><id>1</id></player></resources>");
    EXPECT_EQ(series->count(), 1u);
    ASSERT_TRUE(series->tableMetaDataObjects());
    ASSERT_EQ(series->tableMetaDataObjects()->count(), 1u);
    EXPECT_EQ(platform::as<TestNote>(series->tableMetaDataObjects()->at(0))->text(), "meta");
}

TEST_F(ResourceReaderTest, SectionedReplyGivesSectionsInOrder)
{
    auto series = read(
        "<resource_sections>"
        "<resource_section><name>Friends</name><identifier>friends</identifier><resources>"
        "<player><id>1</id><name>Ann</name></player>"
        "<pagination_header><current_page>1</current_page><total_pages>1</total_pages></pagination_header>"
        "</resources></resource_section>"
        "<table_meta_data><note><text>m</text></note></table_meta_data>"
        "<resource_section><identifier>everyone</identifier><resources>"
        "<player><id>2</id></player><player><id>3</id></player></resources></resource_section>"
        "</resource_sections>");
    ASSERT_EQ(series->count(), 2u);
    EXPECT_EQ(series->header(), nullptr);
    ASSERT_TRUE(series->tableMetaDataObjects());
    EXPECT_EQ(series->tableMetaDataObjects()->count(), 1u);

    auto first = platform::as<HCTableSectionDescription>(series->objectAtIndex(0));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->title(), "Friends");
    EXPECT_EQ(first->identifier(), "friends");
    ASSERT_EQ(first->page()->count(), 1u);
    EXPECT_EQ(player(first->page(), 0)->name(), "Ann");
    ASSERT_TRUE(first->page()->header());
    EXPECT_TRUE(first->page()->header()->isLastPageLoaded());

    auto second = platform::as<HCTableSectionDescription>(series->objectAtIndex(1));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->title(), std::nullopt);
    EXPECT_EQ(second->identifier(), "everyone");
    ASSERT_EQ(second->page()->count(), 2u);
    EXPECT_EQ(player(second->page(), 1)->resourceId(), "3");
    EXPECT_EQ(second->page()->header(), nullptr);
}

TEST_F(ResourceReaderTest, UnreadableRepliesGiveAnEmptySeries)
{
    for (const std::string& xml : {std::string(), std::string("not xml at all"), std::string("{\"json\": 1}"),
                                   std::string("<users><player><id>1</id></player></users>"),
                                   std::string("<?xml version=\"1.0\"?>"), std::string("\0\0\xff\xfe", 4)}) {
        auto series = read(xml);
        EXPECT_EQ(series->count(), 0u) << xml;
        EXPECT_EQ(series->header(), nullptr);
        EXPECT_EQ(series->tableMetaDataObjects(), nullptr);
    }
}

TEST_F(ResourceReaderTest, TruncatedOrEscapedTextKeepsWhatWasThereAndAddsNothing)
{
    auto truncated = read("<resources><player><id>1</id><name>Ann</name></player><player><id>2</id><name>B");
    ASSERT_EQ(truncated->count(), 2u);
    EXPECT_EQ(player(truncated, 1)->name(), "B");
    auto escaped = read(
        "<resources><player><id>1</id><name>&lt;/name&gt;&lt;score&gt;999&lt;/score&gt; &amp; Zo\xC3\xAB</name>"
        "<score>1</score></player></resources>");
    EXPECT_EQ(player(escaped, 0)->name(), "</name><score>999</score> & Zo\xC3\xAB");
    EXPECT_EQ(player(escaped, 0)->score(), "1");
}

}  // namespace
