// Merging a freshly loaded page into the section on screen, on sections read
// from literal sectioned replies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "kernel/xml/HCXmlDocument.h"
#include "core/support/CoreTestResources.h"

namespace {

class SectionMergeTest : public ::testing::Test {
protected:
    void SetUp() override { map = testNameMap(); }

    // The one section of a sectioned reply holding players with these ids
    // ("" for a player without id) and a header whose current page is `page`.
    std::shared_ptr<HCTableSectionDescription> section(const std::vector<std::string>& ids, int page)
    {
        std::string xml = "<resource_sections><resource_section><name>All</name><resources>";
        for (const auto& id : ids) {
            xml += id.empty() ? "<player><name>anon</name></player>" : "<player><id>" + id + "</id></player>";
        }
        xml += "<pagination_header><current_page>" + std::to_string(page) +
               "</current_page><total_pages>9</total_pages></pagination_header></resources></resource_section>"
               "</resource_sections>";
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        auto series = HCResource::resourcesFromXml(*document, map.get());
        return platform::as<HCTableSectionDescription>(series->objectAtIndex(0));
    }

    static std::vector<std::string> ids(const std::vector<platform::ObjectPtr>& objects)
    {
        std::vector<std::string> out;
        for (const auto& object : objects) {
            auto resource = platform::as<HCResource>(object);
            out.push_back(resource && resource->resourceId() ? *resource->resourceId() : "-");
        }
        return out;
    }

    std::shared_ptr<HCResourceNameMap> map;
};

using Ids = std::vector<std::string>;

TEST_F(SectionMergeTest, NewOnesGoInFrontOrAtTheEndAndOnlyThenTakeTheHeader)
{
    struct Case {
        Ids shown, loaded;
        bool descending, prepend;
        size_t added;
        Ids after;
    };
    for (const Case& c : {Case{{"7", "6", "5"}, {"9", "8", "5", "4"}, false, true, 2, {"9", "8", "7", "6", "5"}},
                          Case{{"1", "2"}, {"3", "4"}, false, false, 2, {"1", "2", "3", "4"}},
                          Case{{"5", "4"}, {"5", "3"}, true, true, 0, {"5", "4"}}}) {
        auto onScreen = section(c.shown, 1);
        auto header = onScreen->page()->header();
        EXPECT_EQ(onScreen->addContentsOfSectionWhereUnique(section(c.loaded, 2), c.descending, c.prepend), c.added);
        EXPECT_EQ(ids(onScreen->page()->objects()), c.after);
        if (c.added == 0) {
            EXPECT_EQ(onScreen->page()->header(), header) << "nothing new changes not even the header";
        } else {
            EXPECT_EQ(onScreen->page()->header()->currentPage(), 2u);
        }
    }
}

TEST_F(SectionMergeTest, TheFilterKeepsOnlyWhatIsNotShownYet)
{
    struct Case {
        Ids shown, loaded;
        bool descending;
        Ids kept;
        const char* why;
    };
    for (const Case& c : {
             Case{{"7", "6", "5"}, {"9", "8", "5", "4"}, true, {"9", "8"},
                  "descending: 9 and 8 are above 7; the shown 5 drops itself and the new 4 after it"},
             Case{{"1", "2", "3"}, {"4", "0", "", "3", "5"}, false, {"4", "0", "-"},
                  "ascending: objects without a numeric id are always new; the shown 3 stops the walk"},
             Case{{"-1", "8"}, {"8"}, true, {},
                  "ids are unsigned 64-bit: -1 is the largest, so 8 is not above it and the shown 8 stops"},
         }) {
        EXPECT_EQ(ids(section(c.shown, 1)->arrayWithoutDuplicates(section(c.loaded, 2), c.descending)), c.kept)
            << c.why;
    }
}

TEST_F(SectionMergeTest, SectionWithoutPageTakesTheLoadedPageWhole)
{
    auto onScreen = HCTableSectionDescription::sectionWithTitle("All", nullptr);
    auto loaded = section({"3", "2", "1"}, 1);
    EXPECT_EQ(onScreen->addContentsOfSectionWhereUnique(loaded, true, false), 3u);
    EXPECT_EQ(onScreen->page(), loaded->page());
}

TEST_F(SectionMergeTest, NilOrEmptySectionsAreHarmless)
{
    auto onScreen = section({"1"}, 1);
    EXPECT_EQ(onScreen->addContentsOfSectionWhereUnique(nullptr, true, true), 0u);
    auto pageless = HCTableSectionDescription::sectionWithTitle(std::nullopt, nullptr);
    EXPECT_EQ(onScreen->addContentsOfSectionWhereUnique(pageless, true, true), 0u);
    EXPECT_EQ(pageless->addContentsOfSectionWhereUnique(pageless, true, true), 0u);
    EXPECT_EQ(ids(onScreen->page()->objects()), (Ids{"1"}));
}

}  // namespace
