#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "kernel/xml/HCXmlReader.h"

namespace {

HCXmlReader readerInConfig(const std::string& xml)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(xml);
    doc->pushNextScope("config");
    return HCXmlReader(doc);
}

TEST(HCXmlReader, ReadsEachTypeFromTheCurrentScope)
{
    HCXmlReader reader = readerInConfig(
        "<config><name>Ann</name><count> 42 </count><big>-9000000000</big><u>4000000000</u>"
        "<ratio>1.5</ratio><flag>YES</flag><off>0</off><nothing/></config>");
    std::string name;
    int count = 0;
    long long big = 0;
    unsigned u = 0;
    double ratio = 0;
    bool flag = false;
    bool off = true;
    std::optional<std::string> nothing = "x";
    std::string nothingText = "x";
    EXPECT_TRUE(reader.io("name", name));
    EXPECT_TRUE(reader.io("count", count));
    EXPECT_TRUE(reader.io("big", big));
    EXPECT_TRUE(reader.io("u", u));
    EXPECT_TRUE(reader.io("ratio", ratio));
    EXPECT_TRUE(reader.io("flag", flag));
    EXPECT_TRUE(reader.io("off", off));
    EXPECT_TRUE(reader.io("nothing", nothing));
    EXPECT_EQ(name, "Ann");
    EXPECT_EQ(count, 42);
    EXPECT_EQ(big, -9000000000LL);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(ratio, 1.5);
    EXPECT_TRUE(flag);
    EXPECT_FALSE(off);
    EXPECT_EQ(nothing, std::nullopt);
    EXPECT_FALSE(reader.io("nothing", nothingText)) << "each element is read once";
    EXPECT_EQ(nothingText, "x");
}

TEST(HCXmlReader, MissingOrUnreadableValuesLeaveTheDefault)
{
    HCXmlReader reader = readerInConfig(
        "<config><n>12abc</n><n>99999999999</n><n></n><u>-1</u><d>1,5</d><d>x</d></config>");
    int n = 7;
    EXPECT_FALSE(reader.io("n", n));
    EXPECT_FALSE(reader.io("n", n)) << "out of range";
    EXPECT_FALSE(reader.io("n", n)) << "no text";
    EXPECT_FALSE(reader.io("n", n)) << "none left";
    EXPECT_EQ(n, 7);
    unsigned u = 3;
    EXPECT_FALSE(reader.io("u", u));
    EXPECT_EQ(u, 3u);
    double d = 2.0;
    EXPECT_FALSE(reader.io("d", d));
    EXPECT_FALSE(reader.io("d", d));
    EXPECT_EQ(d, 2.0);
    std::string s = "default";
    EXPECT_FALSE(reader.io("absent", s));
    EXPECT_EQ(s, "default");
}

TEST(HCXmlReader, ScopesNestAndAnEmptyScopeFindsNothing)
{
    HCXmlReader reader = readerInConfig(
        "<config><addon><key>inner</key></addon><key>outer</key></config>");
    std::string value;
    {
        HCXmlReader::Scope scope(reader, "addon");
        ASSERT_TRUE(reader.io("key", value));
        EXPECT_EQ(value, "inner");
        {
            HCXmlReader::Scope missing(reader, "nope");
            EXPECT_FALSE(reader.io("key", value));
        }
        EXPECT_FALSE(reader.io("key", value));
    }
    ASSERT_TRUE(reader.io("key", value));
    EXPECT_EQ(value, "outer");
}

}  // namespace
