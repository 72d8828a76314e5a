#include <gtest/gtest.h>

#include <optional>

#include "platform/foundation/Coding.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/runtime/ClassRegistry.h"

using namespace platform;

namespace {

// A player record shaped like the ones the client archives.
class ArchivedPlayer final : public Object, public Coding {
public:
    std::optional<std::string> resourceId;
    std::optional<std::string> name;
    bool usesFacebookProfilePicture = false;
    long long gamerScore = 0;
    double latitude = 0;
    std::shared_ptr<ArchivedPlayer> rival;
    std::shared_ptr<Array> tags;
    std::shared_ptr<Dictionary> extra;
    std::shared_ptr<Data> picture;
    std::shared_ptr<Date> lastLoginAt;
    bool decodedFlagWasBoolean = false;

    std::string classNameForCoding() const override { return "ArchivedPlayer"; }

    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeObject("resourceId", resourceId ? String::make(*resourceId) : nullptr);
        coder.encodeObject("name", name ? String::make(*name) : nullptr);
        coder.encodeBool("usesFacebookProfilePicture", usesFacebookProfilePicture);
        coder.encodeInteger("gamerScore", gamerScore);
        coder.encodeDouble("latitude", latitude);
        coder.encodeObject("rival", rival);
        coder.encodeObject("tags", tags);
        coder.encodeObject("extra", extra);
        coder.encodeObject("picture", picture);
        coder.encodeObject("lastLoginAt", lastLoginAt);
    }

    void initWithCoder(const KeyedUnarchiver& coder) override
    {
        if (auto s = as<String>(coder.decodeObjectForKey("resourceId"))) resourceId = s->value();
        if (auto s = as<String>(coder.decodeObjectForKey("name"))) name = s->value();
        usesFacebookProfilePicture = coder.decodeBoolForKey("usesFacebookProfilePicture");
        auto flag = as<Number>(coder.decodeObjectForKey("usesFacebookProfilePicture"));
        decodedFlagWasBoolean = flag && flag->isBoolean();
        gamerScore = coder.decodeIntegerForKey("gamerScore");
        latitude = coder.decodeDoubleForKey("latitude");
        rival = as<ArchivedPlayer>(coder.decodeObjectForKey("rival"));
        tags = as<Array>(coder.decodeObjectForKey("tags"));
        extra = as<Dictionary>(coder.decodeObjectForKey("extra"));
        picture = as<Data>(coder.decodeObjectForKey("picture"));
        lastLoginAt = as<Date>(coder.decodeObjectForKey("lastLoginAt"));
    }
};

// Registered, but not for archives: data naming it must not make one.
struct NotCoding final : Object {
    static inline int made = 0;
    NotCoding() { ++made; }
};

class KeyedArchiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerCodingClass<ArchivedPlayer>("ArchivedPlayer");
        registerClass<NotCoding>("NotCoding");
    }

    static std::shared_ptr<ArchivedPlayer> samplePlayer()
    {
        auto rival = std::make_shared<ArchivedPlayer>();
        rival->resourceId = "2";
        rival->name = "Rival";
        auto player = std::make_shared<ArchivedPlayer>();
        player->resourceId = "1";  // name stays nil
        player->usesFacebookProfilePicture = true;
        player->gamerScore = -9000000000LL;
        player->latitude = 52.25;
        player->rival = rival;
        player->tags = Array::make({String::make("a"), nullptr, Number::makeBool(false), Number::makeDouble(1.5)});
        player->extra = Dictionary::make();
        player->extra->setObject("count", Number::makeInt(3));
        player->picture = Data::make({0, 255, 0});
        player->lastLoginAt = Date::dateWithTimeIntervalSince1970(1767225600.25);
        return player;
    }

    static std::vector<uint8_t> bytesOf(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
};

}  // namespace

TEST_F(KeyedArchiveTest, ObjectGraphRoundTripsKeepingNilBooleansAndNumberKinds)
{
    auto data = KeyedArchiver::archivedDataWithRootObject(samplePlayer());
    ASSERT_TRUE(data);
    auto back = as<ArchivedPlayer>(KeyedUnarchiver::unarchiveObjectWithData(data));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->resourceId, "1");
    EXPECT_FALSE(back->name);
    EXPECT_TRUE(back->usesFacebookProfilePicture);
    EXPECT_TRUE(back->decodedFlagWasBoolean);
    EXPECT_EQ(back->gamerScore, -9000000000LL);
    EXPECT_EQ(back->latitude, 52.25);
    ASSERT_TRUE(back->rival);
    EXPECT_EQ(back->rival->name, "Rival");
    EXPECT_FALSE(back->rival->rival);
    ASSERT_TRUE(back->tags);
    ASSERT_EQ(back->tags->count(), 4u);
    EXPECT_FALSE(back->tags->at(1));
    EXPECT_TRUE(as<Number>(back->tags->at(2))->isBoolean());
    EXPECT_TRUE(as<Number>(back->tags->at(3))->isFloatingPoint());
    EXPECT_EQ(back->extra->get<Number>("count")->intValue(), 3);
    EXPECT_EQ(back->picture->bytes(), (std::vector<uint8_t>{0, 255, 0}));
    EXPECT_EQ(back->lastLoginAt->timeIntervalSince1970(), 1767225600.25);
}

TEST_F(KeyedArchiveTest, LayoutIsStable)
{
    // Archives outlive program versions (they sit in the user defaults), so the bytes are pinned.
    EXPECT_EQ(KeyedArchiver::archivedDataWithRootObject(Number::makeBool(true))->bytes(), bytesOf("HCKA\x01T"));
    EXPECT_EQ(KeyedArchiver::archivedDataWithRootObject(String::make("hi"))->bytes(),
              bytesOf(std::string("HCKA\x01s\0\0\0\x02hi", 12)));
    EXPECT_EQ(KeyedArchiver::archivedDataWithRootObject(Number::make(258))->bytes(),
              bytesOf(std::string("HCKA\x01i\0\0\0\0\0\0\x01\x02", 14)));
    EXPECT_EQ(KeyedArchiver::archivedDataWithRootObject(nullptr)->bytes(), bytesOf("HCKA\x01n"));
}

TEST_F(KeyedArchiveTest, EveryTruncationOfAValidArchiveYieldsNil)
{
    auto data = KeyedArchiver::archivedDataWithRootObject(samplePlayer());
    ASSERT_TRUE(data);
    for (size_t n = 0; n < data->length(); ++n)
        EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithBytes(data->data(), n)) << "prefix " << n;
    auto longer = data->bytes();
    longer.push_back('n');
    EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithData(Data::make(longer)));
}

TEST_F(KeyedArchiveTest, GarbageAndForgedArchivesYieldNil)
{
    const std::string cases[] = {
        "",
        "HCKA",
        "HCKB\x01n",
        "HCKA\x02n",
        "HCKA\x01?",
        std::string("HCKA\x01s\xff\xff\xff\xff", 10),
        std::string("HCKA\x01" "a\x7f\xff\xff\xff", 10),
        std::string("HCKA\x01o\0\0\0\x07Unknown\0\0\0\0", 21),
        std::string("HCKA\x01o\0\0\0\x09NotCoding\0\0\0\0", 23),
    };
    for (const auto& text : cases) {
        auto bytes = bytesOf(text);
        EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithBytes(bytes.data(), bytes.size())) << text;
    }
    EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithData(nullptr));
    EXPECT_EQ(NotCoding::made, 0);

    std::string deep = "HCKA\x01";
    for (int i = 0; i < 100000; ++i) deep += std::string("a\0\0\0\x01", 5);
    deep += "n";
    auto deepBytes = bytesOf(deep);
    EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithBytes(deepBytes.data(), deepBytes.size()));
    // Random data after a valid header is the keyed unarchiver fuzzer's business.
}

TEST_F(KeyedArchiveTest, GraphsThatCannotBeArchivedYieldNil)
{
    EXPECT_FALSE(KeyedArchiver::archivedDataWithRootObject(std::make_shared<Object>()));
    EXPECT_FALSE(KeyedArchiver::archivedDataWithRootObject(Array::make({String::make("ok"), std::make_shared<Object>()})));
    auto loop = Array::make();
    loop->add(loop);
    EXPECT_FALSE(KeyedArchiver::archivedDataWithRootObject(loop));
    loop->mutableItems().clear();  // break the cycle so the array is freed
}
