#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "JsonTestClasses.h"
#include "kernel/json/HCJsonCoder.h"

using namespace platform;

static HCJsonCodingRegistration<JsonTestPlayer> sPlayerCoding("JsonTestPlayer");
static HCJsonCodingRegistration<JsonTestBadge> sBadgeCoding("JsonTestBadge");

namespace {

std::shared_ptr<JsonTestPlayer> decodePlayer(const std::string& text)
{
    return as<JsonTestPlayer>(HCJsonCoder::decodeJson(text));
}

}  // namespace

TEST(HCJsonCoder, EncodesInWriteOrderAndRoundTripsEveryKindOfValue)
{
    auto bare = std::make_shared<JsonTestPlayer>();
    bare->name = String::make("x");
    EXPECT_EQ(HCJsonCoder::encodeObject(*bare),
              R"({"test_player":{"name":"x","level":null,"active":false,"badge":null,"extra":null}})");

    auto original = std::make_shared<JsonTestPlayer>();
    original->name = String::make("Ann \"Ace\" \\ O'Neil\n\t\x01 \xC3\xA9t\xC3\xA9");
    original->level = Number::make(7);
    original->active = true;
    original->badge = std::make_shared<JsonTestBadge>();
    original->badge->title = String::make("gold");
    auto values = Dictionary::make();
    for (auto& [key, value] : std::vector<std::pair<std::string, ObjectPtr>>{
             {"yes", Number::makeBool(true)}, {"one", Number::make(1)}, {"tenth", Number::makeDouble(0.1)},
             {"whole", Number::makeDouble(3.0)}, {"list", Array::make({String::make("a"), nullptr})}})
        values->setObject(key, value);
    original->extra = values;
    std::string text = HCJsonCoder::encodeObject(*original);
    EXPECT_NE(text.find(R"("badge":{"enabled":false,"title":"gold"})"), std::string::npos) << text;
    EXPECT_NE(text.find(R"({"yes":true,"one":1,"tenth":0.1,"whole":3.0,"list":["a",null]})"), std::string::npos)
        << text;

    auto decoded = decodePlayer(text);
    ASSERT_TRUE(decoded && decoded->badge) << text;
    EXPECT_EQ(decoded->name->value(), original->name->value());
    EXPECT_EQ(decoded->badge->title->value(), "gold");
    auto back = as<Dictionary>(decoded->extra);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->get<Number>("yes")->isBoolean());
    EXPECT_FALSE(back->get<Number>("one")->isBoolean());
    EXPECT_FALSE(back->get<Number>("one")->isFloatingPoint());
    EXPECT_TRUE(back->get<Number>("whole")->isFloatingPoint());
    EXPECT_EQ(HCJsonCoder::encodeObject(*decoded), text);
}

TEST(HCJsonCoder, DecodingRulesForTagsKnownClassesAndMismatchedKinds)
{
    // A tag counts only as the first key and with a map value; keys after it are dropped.
    auto notFirst = as<Dictionary>(HCJsonCoder::decodeJson(R"({"id":1,"test_badge":{"enabled":true}})"));
    ASSERT_TRUE(notFirst);
    EXPECT_TRUE(notFirst->get<Dictionary>("test_badge"));
    EXPECT_TRUE(as<Dictionary>(HCJsonCoder::decodeJson(R"({"test_badge":5,"more":"x"})")));
    EXPECT_TRUE(as<Dictionary>(HCJsonCoder::decodeJson(R"({"nobody":{"enabled":true}})")));
    auto tagged = as<JsonTestBadge>(HCJsonCoder::decodeJson(R"({"test_badge":{"title":"t"},"junk":[1,2]})"));
    ASSERT_TRUE(tagged);
    EXPECT_EQ(tagged->title->value(), "t");

    // At any depth, and inside a field that takes any value.
    auto list = as<Array>(HCJsonCoder::decodeJson(R"([{"test_badge":{"enabled":true,"unknown":{"d":[1]}}},{"p":1}])"));
    ASSERT_TRUE(list && as<JsonTestBadge>(list->at(0)));
    EXPECT_TRUE(as<JsonTestBadge>(list->at(0))->enabled);
    auto holder = decodePlayer(R"({"test_player":{"extra":{"test_badge":{"title":"inner"}}}})");
    ASSERT_TRUE(holder && as<JsonTestBadge>(holder->extra));

    // A known-class field reads an untagged map even when its first key looks
    // like a tag, and ignores anything but a map.
    auto known = decodePlayer(R"({"test_player":{"badge":{"test_player":{"name":"x"},"title":"t"}}})");
    ASSERT_TRUE(known && known->badge);
    EXPECT_EQ(known->badge->title->value(), "t");
    EXPECT_FALSE(known->name);
    EXPECT_FALSE(decodePlayer(R"({"test_player":{"badge":[1,2]}})")->badge);

    // Typed setters skip other kinds; null reaches an any-value setter as nil.
    auto mismatched = decodePlayer(R"({"test_player":{"name":42,"level":"high","extra":null}})");
    ASSERT_TRUE(mismatched);
    EXPECT_FALSE(mismatched->name);
    EXPECT_FALSE(mismatched->level);
    EXPECT_TRUE(mismatched->extraApplied);
    EXPECT_EQ(mismatched->extra, nullptr);

    // A boolean field takes numbers and texts, nothing else.
    EXPECT_TRUE(decodePlayer(R"({"test_player":{"active":1}})")->active);
    EXPECT_TRUE(decodePlayer(R"({"test_player":{"active":"true"}})")->active);
    EXPECT_FALSE(decodePlayer(R"({"test_player":{"active":"false"}})")->active);
    EXPECT_FALSE(decodePlayer(R"({"test_player":{"active":{"x":true}}})")->active);
}

TEST(HCJsonCoder, HostileValuesEncodeToValidJsonThatReadsBack)
{
    auto player = std::make_shared<JsonTestPlayer>();
    std::string hostile = std::string("q\"b\\s/ nl\n cr\r tab\t nul") + '\0' + "\x1f end \xE2\x80\xA8 \xF0\x9F\x8E\xB2";
    player->name = String::make(hostile);
    auto keyed = Dictionary::make();
    keyed->setObject("we\"ird\nkey", Number::make(1));
    player->extra = keyed;
    std::string text = HCJsonCoder::encodeObject(*player);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    auto decoded = decodePlayer(text);
    ASSERT_TRUE(decoded) << text;
    EXPECT_EQ(decoded->name->value(), hostile);
    EXPECT_TRUE(as<Dictionary>(decoded->extra)->contains("we\"ird\nkey"));

    // Invalid UTF-8 (stray continuation, truncation, overlong, surrogate) is replaced.
    player->name = String::make("a\x80" "b\xC3" "c\xC0\xAF" "d\xED\xA0\x80" "e\xC3\xA9");
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(decodePlayer(HCJsonCoder::encodeObject(*player))->name->value(),
              "a" + r + "b" + r + "c" + r + r + "d" + r + r + r + "e\xC3\xA9");

    // Non-finite numbers and objects JSON cannot carry become null.
    player->extra = Array::make({Number::makeDouble(std::numeric_limits<double>::infinity()),
                                 Number::makeDouble(std::nan("")), Data::fromString("bytes"),
                                 std::make_shared<Object>()});
    EXPECT_NE(HCJsonCoder::encodeObject(*player).find(R"("extra":[null,null,null,null])"), std::string::npos);

    // A cycle is cut off and the text stays well formed.
    auto loop = Array::make();
    loop->add(loop);
    player->extra = loop;
    EXPECT_TRUE(HCJsonCoder::decodeJson(HCJsonCoder::encodeObject(*player)));
    loop->mutableItems().clear();  // break the cycle so the array can be freed
}
