#include <gtest/gtest.h>

#include "localserver/XmlWriter.h"
#include "support/XmlTree.h"

using namespace localserver;
using localserver_test::parseXml;

TEST(XmlWriterTest, FlatReplyWithHeaderMetadataAndResources)
{
    ResourceList list;
    list.header = paginate(45, 2, 20);
    list.tableMetaData = std::vector<XmlNode>{resourceNode("leaderboard", std::string("9"), {{"name", "Top"}})};
    list.resources.push_back(resourceNode("user", std::string("12"), {{"name", "Ann"}, {"gamer_score", ""}}));
    list.resources.push_back(resourceNode("user", std::string("13"), {{"name", "Ben"}}));
    EXPECT_EQ(writeFlatReply(list),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources>"
              "<pagination_header><current_offset>20</current_offset><current_page>2</current_page>"
              "<total_pages>3</total_pages><per_page>20</per_page><total_entries>45</total_entries>"
              "</pagination_header>"
              "<table_meta_data><leaderboard><id>9</id><name>Top</name></leaderboard></table_meta_data>"
              "<user><id>12</id><name>Ann</name><gamer_score></gamer_score></user>"
              "<user><id>13</id><name>Ben</name></user></resources>");
    EXPECT_EQ(writeFlatReply({}), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources></resources>");
    // The pagination arithmetic never divides by zero or overflows.
    const auto none = paginate(0, 0, 0);
    EXPECT_EQ(none.perPage, 1u);
    EXPECT_EQ(none.totalPages, 0u);
    EXPECT_EQ(paginate(UINT32_MAX, UINT32_MAX, UINT32_MAX).currentOffset, UINT32_MAX);
}

TEST(XmlWriterTest, SectionedReplyPutsMetadataBeforeSections)
{
    ResourceSection friends{"Friends", "friends", {}};
    friends.list.resources.push_back(resourceNode("user", std::string("1"), {}));
    friends.list.header = paginate(1, 1, 10);
    ResourceSection everyone{"Everyone", "global", {}};
    const std::string xml =
        writeSectionedReply({friends, everyone}, std::vector<XmlNode>{resourceNode("leaderboard", std::nullopt, {})});
    EXPECT_EQ(xml,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resource_sections>"
              "<table_meta_data><leaderboard></leaderboard></table_meta_data>"
              "<resource_section><name>Friends</name><identifier>friends</identifier><resources>"
              "<pagination_header><current_offset>0</current_offset><current_page>1</current_page>"
              "<total_pages>1</total_pages><per_page>10</per_page><total_entries>1</total_entries>"
              "</pagination_header><user><id>1</id></user></resources></resource_section>"
              "<resource_section><name>Everyone</name><identifier>global</identifier><resources></resources>"
              "</resource_section></resource_sections>");
}

TEST(XmlWriterTest, HostileTextStaysWellFormedAndReadsBackUnchangedWhereRepresentable)
{
    const std::string hostile = "<a href=\"x\">&amp; it's</a> \xC3\xA9 \xF0\x9F\x8E\xB2 cr\r crlf\r\n";
    const std::string broken = std::string("ok\x01\xFF\xC3(\xED\xA0\x80\xC0\xAF", 11) + "\xEF\xBF\xBE" + "\t\n";
    ResourceList list;
    list.resources.push_back(resourceNode("user", std::string("1"), {{"name", hostile}, {"about", broken}}));
    const auto tree = parseXml(writeFlatReply(list));
    ASSERT_TRUE(tree);
    const auto* user = tree->child("user");
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->child("name")->text, hostile);
    // A control character, a stray byte and a truncated sequence become
    // U+FFFD each; so do a surrogate and U+FFFE as whole sequences, and an
    // overlong form byte by byte. Tab and line feed stay.
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(user->child("about")->text, "ok" + r + r + r + "(" + r + r + r + r + "\t\n");
}
