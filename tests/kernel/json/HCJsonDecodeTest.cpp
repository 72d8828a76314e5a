#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "kernel/json/HCJsonCoder.h"
#include "platform/foundation/Values.h"

using namespace platform;

namespace {

// Its setter throws: decoding must end in nil, not unwind through the parser.
class JsonThrowingRecord final : public Object, public HCJsonCoding {
public:
    static std::string classNameForJsonCoding() { return "test_throwing"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map)
    {
        map["boom"] = HCJsonBoolValue::valueWithSelector(&JsonThrowingRecord::setBoom);
    }
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }
    void encodeWithJsonCoder(HCJsonCoder&) const override {}
    void setBoom(bool) { throw std::runtime_error("boom"); }
};
HCJsonCodingRegistration<JsonThrowingRecord> sThrowingCoding("JsonThrowingRecord");

std::string nested(int depth)
{
    return std::string(depth, '[') + std::string(depth, ']');
}

}  // namespace

TEST(HCJsonDecode, ValuesMapToPlatformTypesAndMapsKeepDocumentOrder)
{
    auto root = as<Dictionary>(HCJsonCoder::decodeJson(
        R"({"s":"t\u00e9\n","i":-12,"d":-1.5e2,"t":true,"n":null,"l":[null,1],"a":2,"a":4})"));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->allKeys(), (std::vector<std::string>{"s", "i", "d", "t", "l", "a"}));
    EXPECT_EQ(*root->stringForKey("s"), "t\xC3\xA9\n");
    EXPECT_FALSE(root->get<Number>("i")->isFloatingPoint());
    EXPECT_EQ(root->get<Number>("d")->doubleValue(), -150.0);
    EXPECT_TRUE(root->get<Number>("t")->isBoolean());
    EXPECT_EQ(root->get<Array>("l")->at(0), nullptr);
    EXPECT_EQ(root->get<Number>("a")->longLongValue(), 4);
    EXPECT_EQ(as<Number>(HCJsonCoder::decodeJson("42"))->longLongValue(), 42);
    EXPECT_EQ(HCJsonCoder::decodeJson("null"), nullptr);
}

TEST(HCJsonDecode, MalformedOrTruncatedTextGivesNil)
{
    for (const char* text : {"", " ", "{", "[1,2", R"({"a":})", R"({"a" 1})", "nul", "tru", R"({"a":1,})",
                             "[1,]", "{} x", "[1] [2]", R"("unterminated)", "01", "1.", "-", "+1", ".5", "NaN",
                             "Infinity", R"({'a':1})", "// c\n1", R"({"a":"\x"})", "\"a\tb\""}) {
        EXPECT_EQ(HCJsonCoder::decodeJson(text), nullptr) << text;
    }
    // A NUL byte inside the text ends nothing early: it is simply invalid.
    EXPECT_EQ(HCJsonCoder::decodeJson(std::string_view("[1]\0", 4)), nullptr);
    EXPECT_EQ(HCJsonCoder::decodeJson(std::string_view("[\"a\0\"]", 6)), nullptr);
}

TEST(HCJsonDecode, InvalidUtf8GivesNil)
{
    for (const char* text : {"\"\xFF\"", "\"\xC3\"", "\"\xC0\xAF\"", "{\"k\xFE\":1}", "[\"ok\",\"\x80\"]",
                             "\"\xED\xA0\x80\"", "\"\xF4\x90\x80\x80\"", "{\"\xC1\xBF\":1}"})
        EXPECT_EQ(HCJsonCoder::decodeJson(text), nullptr) << text;
    auto valid = as<Array>(HCJsonCoder::decodeJson("[\"\xC3\xA9\xF0\x9F\x8E\xB2\xF4\x8F\xBF\xBF\", \"\\ud83c\\udfb2\"]"));
    ASSERT_TRUE(valid);
    EXPECT_EQ(as<String>(valid->at(0))->value(), "\xC3\xA9\xF0\x9F\x8E\xB2\xF4\x8F\xBF\xBF");
    EXPECT_EQ(as<String>(valid->at(1))->value(), "\xF0\x9F\x8E\xB2");
}

TEST(HCJsonDecode, NestingIsCappedSoDeepTextCannotExhaustTheStack)
{
    EXPECT_TRUE(HCJsonCoder::decodeJson(nested(HCJsonCoder::kMaxDecodeDepth)));
    EXPECT_EQ(HCJsonCoder::decodeJson(nested(HCJsonCoder::kMaxDecodeDepth + 1)), nullptr);
    EXPECT_EQ(HCJsonCoder::decodeJson(std::string(1'000'000, '[')), nullptr);
    std::string maps;
    for (int i = 0; i < 100'000; ++i) maps += R"({"a":)";
    EXPECT_EQ(HCJsonCoder::decodeJson(maps), nullptr);
}

TEST(HCJsonDecode, HugeNumbersGiveDefinedValues)
{
    auto list = as<Array>(HCJsonCoder::decodeJson(
        "[9223372036854775807,-9223372036854775808,9223372036854775808,123456789012345678901234567890,"
        "1e999,-1e999,1e-999,0.1]"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 8u);
    auto number = [&](size_t i) { return as<Number>(list->at(i)); };
    EXPECT_EQ(number(0)->longLongValue(), std::numeric_limits<long long>::max());
    EXPECT_EQ(number(1)->longLongValue(), std::numeric_limits<long long>::min());
    EXPECT_TRUE(number(2)->isFloatingPoint());
    EXPECT_DOUBLE_EQ(number(2)->doubleValue(), 9223372036854775808.0);
    EXPECT_DOUBLE_EQ(number(3)->doubleValue(), 1.2345678901234568e29);
    EXPECT_EQ(number(4)->doubleValue(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(number(5)->doubleValue(), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(number(6)->doubleValue(), 0.0);
    EXPECT_EQ(number(7)->doubleValue(), 0.1);
}

TEST(HCJsonDecode, AThrowingSetterCancelsTheDecode)
{
    EXPECT_EQ(HCJsonCoder::decodeJson(R"({"test_throwing":{"boom":true}})"), nullptr);
    EXPECT_TRUE(as<Dictionary>(HCJsonCoder::decodeJson(R"({"other":{"boom":true}})")));
}
