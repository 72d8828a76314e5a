#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/foundation/Date.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListWriter.h"
#include "platform/foundation/Values.h"

using namespace platform;

namespace {

std::string plist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>";
}

ObjectPtr roundTrip(const ObjectPtr& value)
{
    auto text = PropertyListWriter::write(value);
    if (!text) return nullptr;
    return PropertyListReader::parse(*text);
}

}  // namespace

TEST(PropertyList, ReadsEveryTypeFromAHandWrittenFile)
{
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Example//DTD PLIST 1.0//EN\" \"http://example.invalid/plist.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n"
        "  <key>name</key>  <string>Tom &amp; Jerry &lt;3</string>\n"
        "  <key>empty</key><string/>\n"
        "  <key>count</key><integer> -42 </integer>\n"
        "  <key>ratio</key><real>2.5</real>\n"
        "  <key>on</key><true/>\n"
        "  <key>off</key><false/>\n"
        "  <key>blob</key><data>\n    AAEC\n    /w==\n  </data>\n"
        "  <key>when</key><date>2026-01-01T00:00:00Z</date>\n"
        "  <key>list</key><array><integer>1</integer><dict/><array/></array>\n"
        "</dict>\n</plist>\n";
    auto dict = as<Dictionary>(PropertyListReader::parse(text));
    ASSERT_TRUE(dict);
    EXPECT_EQ(dict->allKeys(), (std::vector<std::string>{"name", "empty", "count", "ratio", "on", "off", "blob", "when", "list"}));
    EXPECT_EQ(dict->get<String>("name")->value(), "Tom & Jerry <3");
    EXPECT_EQ(dict->get<String>("empty")->value(), "");
    auto count = dict->get<Number>("count");
    EXPECT_EQ(count->longLongValue(), -42);
    EXPECT_FALSE(count->isBoolean());
    EXPECT_FALSE(count->isFloatingPoint());
    EXPECT_TRUE(dict->get<Number>("ratio")->isFloatingPoint());
    EXPECT_EQ(dict->get<Number>("ratio")->doubleValue(), 2.5);
    EXPECT_TRUE(dict->get<Number>("on")->isBoolean());
    EXPECT_TRUE(dict->get<Number>("on")->boolValue());
    EXPECT_FALSE(dict->get<Number>("off")->boolValue());
    EXPECT_EQ(dict->get<Data>("blob")->bytes(), (std::vector<uint8_t>{0, 1, 2, 0xff}));
    EXPECT_EQ(dict->get<Date>("when")->timeIntervalSince1970(), 1767225600.0);
    auto list = dict->get<Array>("list");
    ASSERT_EQ(list->count(), 3u);
    EXPECT_TRUE(as<Dictionary>(list->at(1)));
    EXPECT_TRUE(as<Array>(list->at(2)));
}

TEST(PropertyList, WriterOutputReadsBackToEqualValues)
{
    auto inner = Dictionary::make();
    inner->setString("text", "line1\r\nline2\t<&>\"' \xC3\xA9\xF0\x9F\x98\x80");
    inner->setObject("max", Number::make(std::numeric_limits<long long>::max()));
    inner->setObject("min", Number::make(std::numeric_limits<long long>::min()));
    inner->setObject("tiny", Number::makeDouble(1e-300));
    inner->setObject("third", Number::makeDouble(1.0 / 3.0));
    auto root = Dictionary::make();
    root->setObject("inner", inner);
    root->setObject("flags", Array::make({Number::makeBool(true), Number::makeBool(false)}));
    root->setObject("bytes", Data::make({0, 0, 10, 13, 255}));
    root->setObject("none", Data::make({}));
    root->setObject("past", Date::distantPast());
    root->setObject("", String::make(""));

    auto back = as<Dictionary>(roundTrip(root));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->description(), root->description());
    auto backInner = back->get<Dictionary>("inner");
    EXPECT_EQ(backInner->get<String>("text")->value(), inner->get<String>("text")->value());
    EXPECT_EQ(backInner->get<Number>("third")->doubleValue(), 1.0 / 3.0);
    EXPECT_TRUE(back->get<Array>("flags")->at(0) && as<Number>(back->get<Array>("flags")->at(0))->isBoolean());
    EXPECT_EQ(back->get<Data>("bytes")->bytes(), (std::vector<uint8_t>{0, 0, 10, 13, 255}));
    EXPECT_EQ(back->get<Data>("none")->length(), 0u);
    EXPECT_EQ(back->get<Date>("past")->timeIntervalSince1970(), Date::distantPast()->timeIntervalSince1970());
}

TEST(PropertyList, TextThatXmlCannotCarryIsReplacedSoTheFileStillReads)
{
    auto root = Dictionary::make();
    root->setString("bad\x01key", std::string("a\x02" "b\xFF" "c\xC3", 6));
    auto back = as<Dictionary>(roundTrip(root));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->stringForKey("bad\xEF\xBF\xBDkey"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD");
}

TEST(PropertyList, WriterRefusesWhatIsNotAPropertyList)
{
    EXPECT_FALSE(PropertyListWriter::write(nullptr));
    EXPECT_FALSE(PropertyListWriter::write(std::make_shared<Object>()));
    EXPECT_FALSE(PropertyListWriter::write(Array::make({String::make("a"), nullptr})));
    // A year with five digits would write a date that never reads back.
    EXPECT_FALSE(PropertyListWriter::write(Date::dateWithTimeIntervalSince1970(1e12)));
    EXPECT_TRUE(PropertyListWriter::write(Array::make()));
}

TEST(PropertyList, MalformedInputYieldsNil)
{
    const std::string cases[] = {
        "",
        "not xml at all",
        "<dict></dict>",
        plist(""),
        plist("<dict><key>a</key></dict>"),
        plist("<dict><string>x</string></dict>"),
        plist("<dict><key>a</key><key>b</key><string>x</string></dict>"),
        plist("<array><key>a</key></array>"),
        plist("<integer>12x</integer>"),
        plist("<integer></integer>"),
        plist("<integer>99999999999999999999</integer>"),
        plist("<integer>1.5</integer>"),
        plist("<real>abc</real>"),
        plist("<data>!!!!</data>"),
        plist("<data>AAE</data>"),
        plist("<data>A=AA</data>"),
        plist("<date>2026-13-01T00:00:00Z</date>"),
        plist("<date>yesterday</date>"),
        plist("<foo/>"),
        plist("<plist><string>x</string></plist>"),
        plist("<string>a</string><string>b</string>"),
        plist("<string><string>x</string></string>"),
        plist("<array>text<string>a</string></array>"),
        plist("<true>x</true>"),
        "<plist><dict><key>a</key><string>b</str",
        plist("<string>a</string>") + "<plist><string>b</string></plist>",
        "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">]>"
        "<plist><string>&b;</string></plist>",
        plist("<string>&undefined;</string>"),
        std::string("<plist><string>a\0b</string></plist>", 35),
    };
    for (const auto& text : cases) EXPECT_FALSE(PropertyListReader::parse(text)) << text;
}

TEST(PropertyList, NestingIsBoundedSoHostileDepthCannotExhaustTheStackAndTheDeepestWrittenReadsBack)
{
    auto nested = [](int depth) {
        std::string open, close;
        for (int i = 0; i < depth; ++i) {
            open += "<array>";
            close += "</array>";
        }
        return plist(open + close);
    };
    EXPECT_TRUE(PropertyListReader::parse(nested(100)));
    EXPECT_FALSE(PropertyListReader::parse(nested(100000)));

    auto nestedArrays = [](int levels) {
        ObjectPtr value = Array::make();
        for (int i = 1; i < levels; ++i) value = Array::make({value});
        return value;
    };
    // A value the writer accepts must read back, or a settings file holding
    // it would load as empty and lose every other setting with it.
    int deepest = 0;
    for (int levels = 500; levels <= 530; ++levels) {
        auto text = PropertyListWriter::write(nestedArrays(levels));
        if (!text) break;
        deepest = levels;
        ASSERT_TRUE(PropertyListReader::parse(*text)) << levels << " levels";
    }
    EXPECT_GE(deepest, 500);
    EXPECT_LT(deepest, 530);
}
