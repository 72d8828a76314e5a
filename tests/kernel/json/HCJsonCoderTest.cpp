#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "JsonTestClasses.h"
#include "kernel/json/HCJsonCoder.h"

using namespace platform;

static HCJsonCodingRegistration<JsonTestPlayer> sPlayerCoding("JsonTestPlayer");
static HCJsonCodingRegistration<JsonTestBadge> sBadgeCoding("JsonTestBadge");

namespace {

std::shared_ptr<JsonTestPlayer> samplePlayer()
{
    auto player = std::make_shared<JsonTestPlayer>();
    player->name = String::make("Ann \"Ace\" \\ O'Neil\n\t\x01 \xC3\xA9t\xC3\xA9");
    player->level = Number::make(7);
    player->active = true;
    player->badge = std::make_shared<JsonTestBadge>();
    player->badge->enabled = true;
    player->badge->title = String::make("gold");
    player->extra = Array::make({String::make("a"), Number::make(1), Number::makeBool(false), nullptr,
                                 Number::makeDouble(2.5)});
    return player;
}

}  // namespace

TEST(HCJsonCoder, EncodesOneMapKeyedByTheClassNameWithFieldsInWriteOrder)
{
    auto player = std::make_shared<JsonTestPlayer>();
    player->name = String::make("x");
    player->level = Number::make(1);
    EXPECT_EQ(HCJsonCoder::encodeObject(*player),
              R"({"test_player":{"name":"x","level":1,"active":false,"badge":null,"extra":null}})");
}

TEST(HCJsonCoder, TaggedRoundTripKeepsEveryFieldAndTheNestedKnownClass)
{
    auto original = samplePlayer();
    std::string text = HCJsonCoder::encodeObject(*original);
    EXPECT_NE(text.find(R"("badge":{"enabled":true,"title":"gold"})"), std::string::npos) << text;

    auto decoded = as<JsonTestPlayer>(HCJsonCoder::decodeJson(text));
    ASSERT_TRUE(decoded) << text;
    ASSERT_TRUE(decoded->name);
    EXPECT_EQ(decoded->name->value(), original->name->value());
    ASSERT_TRUE(decoded->level);
    EXPECT_EQ(decoded->level->longLongValue(), 7);
    EXPECT_TRUE(decoded->active);
    ASSERT_TRUE(decoded->badge);
    EXPECT_TRUE(decoded->badge->enabled);
    ASSERT_TRUE(decoded->badge->title);
    EXPECT_EQ(decoded->badge->title->value(), "gold");

    auto extra = as<Array>(decoded->extra);
    ASSERT_TRUE(extra);
    ASSERT_EQ(extra->count(), 5u);
    EXPECT_EQ(as<String>(extra->at(0))->value(), "a");
    EXPECT_FALSE(as<Number>(extra->at(1))->isBoolean());
    EXPECT_TRUE(as<Number>(extra->at(2))->isBoolean());
    EXPECT_EQ(extra->at(3), nullptr);
    EXPECT_TRUE(as<Number>(extra->at(4))->isFloatingPoint());
    EXPECT_EQ(as<Number>(extra->at(4))->doubleValue(), 2.5);

    // Encoding the decoded object again gives the same text.
    EXPECT_EQ(HCJsonCoder::encodeObject(*decoded), text);
}

TEST(HCJsonCoder, BooleansStayBooleansAndOneStaysANumber)
{
    auto player = std::make_shared<JsonTestPlayer>();
    auto values = Dictionary::make();
    values->setObject("yes", Number::makeBool(true));
    values->setObject("no", Number::makeBool(false));
    values->setObject("one", Number::make(1));
    values->setObject("zero", Number::makeInt(0));
    values->setObject("tenth", Number::makeDouble(0.1));
    values->setObject("whole", Number::makeDouble(3.0));
    player->extra = values;
    std::string text = HCJsonCoder::encodeObject(*player);
    EXPECT_NE(text.find(R"("extra":{"yes":true,"no":false,"one":1,"zero":0,"tenth":0.1,"whole":3.0})"),
              std::string::npos)
        << text;

    auto decoded = as<JsonTestPlayer>(HCJsonCoder::decodeJson(text));
    ASSERT_TRUE(decoded);
    auto back = as<Dictionary>(decoded->extra);
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->get<Number>("yes")->isBoolean());
    EXPECT_TRUE(back->get<Number>("yes")->boolValue());
    EXPECT_TRUE(back->get<Number>("no")->isBoolean());
    EXPECT_FALSE(back->get<Number>("one")->isBoolean());
    EXPECT_FALSE(back->get<Number>("one")->isFloatingPoint());
    EXPECT_EQ(back->get<Number>("one")->longLongValue(), 1);
    EXPECT_TRUE(back->get<Number>("whole")->isFloatingPoint());
    EXPECT_EQ(back->get<Number>("tenth")->doubleValue(), 0.1);
}

TEST(HCJsonCoder, BoolValueAcceptsNumbersAndTextsAndIgnoresOtherKinds)
{
    auto fromNumber = as<JsonTestPlayer>(HCJsonCoder::decodeJson(R"({"test_player":{"active":1}})"));
    ASSERT_TRUE(fromNumber);
    EXPECT_TRUE(fromNumber->active);
    auto fromText = as<JsonTestPlayer>(HCJsonCoder::decodeJson(R"({"test_player":{"active":"true"}})"));
    ASSERT_TRUE(fromText);
    EXPECT_TRUE(fromText->active);
    auto fromFalseText = as<JsonTestPlayer>(HCJsonCoder::decodeJson(R"({"test_player":{"active":"false"}})"));
    ASSERT_TRUE(fromFalseText);
    EXPECT_FALSE(fromFalseText->active);
    auto fromMap = as<JsonTestPlayer>(HCJsonCoder::decodeJson(R"({"test_player":{"active":{"x":true}}})"));
    ASSERT_TRUE(fromMap);
    EXPECT_FALSE(fromMap->active);
}

TEST(HCJsonCoder, TaggedMapsAreRecognisedOnlyByTheirFirstKeyAndOnlyWithAMapValue)
{
    // A registered name that is not the first key leaves a plain dictionary.
    auto notFirst = as<Dictionary>(HCJsonCoder::decodeJson(R"({"id":1,"test_badge":{"enabled":true}})"));
    ASSERT_TRUE(notFirst);
    EXPECT_EQ(notFirst->allKeys(), (std::vector<std::string>{"id", "test_badge"}));
    EXPECT_TRUE(notFirst->get<Dictionary>("test_badge"));

    auto unregistered = as<Dictionary>(HCJsonCoder::decodeJson(R"({"nobody":{"enabled":true}})"));
    ASSERT_TRUE(unregistered);
    EXPECT_TRUE(unregistered->get<Dictionary>("nobody"));

    auto scalarTag = as<Dictionary>(HCJsonCoder::decodeJson(R"({"test_badge":5,"more":"x"})"));
    ASSERT_TRUE(scalarTag);
    EXPECT_EQ(scalarTag->get<Number>("test_badge")->longLongValue(), 5);
    EXPECT_EQ(*scalarTag->stringForKey("more"), "x");

    // Keys after the tag are dropped; the instance is the result.
    auto tagged = as<JsonTestBadge>(HCJsonCoder::decodeJson(R"({"test_badge":{"title":"t"},"junk":[1,2]})"));
    ASSERT_TRUE(tagged);
    EXPECT_EQ(tagged->title->value(), "t");
}

TEST(HCJsonCoder, TaggedObjectsDecodeAtAnyDepthAndUnknownFieldsAreIgnored)
{
    auto list = as<Array>(HCJsonCoder::decodeJson(
        R"([{"test_badge":{"enabled":true,"unknown":{"deep":[1]}}},{"test_badge":{"title":"b"}},{"plain":1}])"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 3u);
    auto first = as<JsonTestBadge>(list->at(0));
    auto second = as<JsonTestBadge>(list->at(1));
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->enabled);
    EXPECT_FALSE(second->enabled);
    EXPECT_EQ(second->title->value(), "b");
    EXPECT_TRUE(as<Dictionary>(list->at(2)));

    // A value decoded unchanged may itself be a tagged object.
    auto player = as<JsonTestPlayer>(
        HCJsonCoder::decodeJson(R"({"test_player":{"extra":{"test_badge":{"title":"inner"}}}})"));
    ASSERT_TRUE(player);
    auto inner = as<JsonTestBadge>(player->extra);
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->title->value(), "inner");
}

TEST(HCJsonCoder, KnownClassFieldReadsAnUntaggedMapEvenWhenItsFirstKeyLooksLikeATag)
{
    auto player = as<JsonTestPlayer>(
        HCJsonCoder::decodeJson(R"({"test_player":{"badge":{"test_player":{"name":"x"},"title":"t"}}})"));
    ASSERT_TRUE(player);
    ASSERT_TRUE(player->badge);
    EXPECT_EQ(player->badge->title->value(), "t");
    EXPECT_FALSE(player->name);

    // A known-class field given something other than a map is left unset.
    auto notAMap = as<JsonTestPlayer>(HCJsonCoder::decodeJson(R"({"test_player":{"badge":[1,2],"name":"n"}})"));
    ASSERT_TRUE(notAMap);
    EXPECT_FALSE(notAMap->badge);
    EXPECT_EQ(notAMap->name->value(), "n");
}

TEST(HCJsonCoder, TypedSetterSkipsValuesOfAnotherKindAndNullReachesItAsNil)
{
    auto player = as<JsonTestPlayer>(HCJsonCoder::decodeJson(R"({"test_player":{"name":42,"level":"high"}})"));
    ASSERT_TRUE(player);
    EXPECT_FALSE(player->name);
    EXPECT_FALSE(player->level);

    auto nulls = as<JsonTestPlayer>(HCJsonCoder::decodeJson(R"({"test_player":{"extra":null}})"));
    ASSERT_TRUE(nulls);
    EXPECT_TRUE(nulls->extraApplied);
    EXPECT_EQ(nulls->extra, nullptr);
}

TEST(HCJsonCoder, TextsAreEscapedSoThatTheyReadBackExactly)
{
    auto player = std::make_shared<JsonTestPlayer>();
    std::string hostile = std::string("q\"b\\s/ nl\n cr\r tab\t nul") + '\0' + "\x1f end \xE2\x80\xA8 \xF0\x9F\x8E\xB2";
    player->name = String::make(hostile);
    auto keyed = Dictionary::make();
    keyed->setObject("we\"ird\nkey", Number::make(1));
    player->extra = keyed;
    std::string text = HCJsonCoder::encodeObject(*player);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    auto decoded = as<JsonTestPlayer>(HCJsonCoder::decodeJson(text));
    ASSERT_TRUE(decoded) << text;
    EXPECT_EQ(decoded->name->value(), hostile);
    EXPECT_TRUE(as<Dictionary>(decoded->extra)->contains("we\"ird\nkey"));
}

TEST(HCJsonCoder, InvalidUtf8IsReplacedWhenEncodingSoTheOutputStaysValidJson)
{
    auto player = std::make_shared<JsonTestPlayer>();
    // A stray continuation byte, a truncated sequence, an overlong slash and a surrogate.
    player->name = String::make("a\x80" "b\xC3" "c\xC0\xAF" "d\xED\xA0\x80" "e\xC3\xA9");
    auto decoded = as<JsonTestPlayer>(HCJsonCoder::decodeJson(HCJsonCoder::encodeObject(*player)));
    ASSERT_TRUE(decoded);
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(decoded->name->value(), "a" + r + "b" + r + "c" + r + r + "d" + r + r + r + "e\xC3\xA9");
}

TEST(HCJsonCoder, EncodingNonFiniteNumbersAndOtherObjectsWritesNull)
{
    auto player = std::make_shared<JsonTestPlayer>();
    player->extra = Array::make({Number::makeDouble(std::numeric_limits<double>::infinity()),
                                 Number::makeDouble(std::nan("")), Data::fromString("bytes"),
                                 std::make_shared<Object>()});
    std::string text = HCJsonCoder::encodeObject(*player);
    EXPECT_NE(text.find(R"("extra":[null,null,null,null])"), std::string::npos) << text;
}

TEST(HCJsonCoder, ACyclicValueIsCutOffAndTheTextStaysWellFormed)
{
    auto player = std::make_shared<JsonTestPlayer>();
    auto loop = Array::make();
    loop->add(loop);
    player->extra = loop;
    std::string text = HCJsonCoder::encodeObject(*player);
    EXPECT_TRUE(HCJsonCoder::decodeJson(text)) << text.substr(0, 200);
    loop->mutableItems().clear();  // break the cycle so the array can be freed
}
