// The resource XML writer: exact output, and round trips through the reader.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "core/writer/HCXmlResourceWriter.h"
#include "kernel/xml/HCXmlDocument.h"
#include "core/support/CoreTestResources.h"

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

// A class with the element name "user" and one writable field, "name".
class WriterUser final : public HCResource {
public:
    std::string getResourceName() const override { return "user"; }
    const HCResourceDataMap& getDataMap() const override
    {
        static const auto map = [] {
            auto m = std::make_shared<HCResourceDataMap>();
            m->addField("name", &WriterUser::setName, &WriterUser::name);
            return m;
        }();
        return *map;
    }
    const std::optional<std::string>& name() const { return name_; }
    void setName(const std::optional<std::string>& name) { name_ = name; }

private:
    std::optional<std::string> name_;
};

std::shared_ptr<TestPlayer> makePlayer(const std::string& id, const std::string& name, const std::string& score)
{
    auto player = HCResource::initWithId<TestPlayer>(id);
    player->setName(name);
    player->setScore(score);
    return player;
}

TEST(ResourceWriterTest, ResourcesAreWrittenOnOneLineEscapedWithNilAsEmptyAndReadOnlyFieldsLeftOut)
{
    auto user = HCResource::initWithId<WriterUser>("12");
    user->setName("Ann");
    auto note = HCResource::initWithId<TestNote>("4");
    note->setText("not written");
    EXPECT_EQ(HCResource::resourcesToXml({user, std::make_shared<WriterUser>(), note}),
              kDeclaration +
                  "<resources><user><id>12</id><name>Ann</name></user><user><id></id><name></name></user>"
                  "<note><id>4</id></note></resources>");
    EXPECT_EQ(user->toResourceArrayXml(), HCXmlResourceWriter::xmlStringFromResources({user}));
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources({}), kDeclaration + "<resources></resources>");
    user->setName("</name><admin>1</admin> & \"q\" 'a'");
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources({user}),
              kDeclaration +
                  "<resources><user><id>12</id><name>&lt;/name&gt;&lt;admin&gt;1&lt;/admin&gt; &amp; &quot;q&quot; "
                  "&apos;a&apos;</name></user></resources>");
}

TEST(ResourceWriterTest, NestedFieldsFollowTheDataMapOrder)
{
    auto player = makePlayer("1", "Ann", "10");
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources({player}),
              kDeclaration + "<resources><player><id>1</id><name>Ann</name><score>10</score><friends></friends>"
                             "</player></resources>");

    auto badge = HCResource::initWithId<TestBadge>("70");
    badge->setTitle("Gold");
    player->setBadge(badge);
    player->setFriends(platform::Array::make({makePlayer("2", "Ben", "5"), platform::String::make("not a resource")}));
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources({player, platform::String::make("skipped")}),
              kDeclaration +
                  "<resources><player><id>1</id><name>Ann</name><score>10</score>"
                  "<badge><id>70</id><title>Gold</title></badge>"
                  "<friends><player><id>2</id><name>Ben</name><score>5</score><friends></friends></player></friends>"
                  "</player></resources>");
}

TEST(ResourceWriterTest, RoundTripThroughTheReaderKeepsEveryValue)
{
    auto map = testNameMap();
    auto first = makePlayer("1", "Tom & Jerry <3", "1 < 2 > 0");
    auto badge = HCResource::initWithId<TestBadge>("70");
    badge->setTitle("Zo\xC3\xAB \xE2\x9C\x93 \xF0\x9F\x8E\xAE \"quoted\" 'single'");
    first->setBadge(badge);
    first->setFriends(platform::Array::make({makePlayer("2", "</name><score>999</score>", "7")}));
    auto second = makePlayer("3", "  spaced  ", "");

    std::string xml = HCXmlResourceWriter::xmlStringFromResources({first, second});
    auto document = HCXmlDocument::xmlDocumentWithData(xml);
    auto series = HCResource::resourcesFromXml(*document, map.get());

    ASSERT_EQ(series->count(), 2u);
    auto readFirst = platform::as<TestPlayer>(series->objectAtIndex(0));
    EXPECT_EQ(readFirst->resourceId(), "1");
    EXPECT_EQ(readFirst->name(), "Tom & Jerry <3");
    EXPECT_EQ(readFirst->score(), "1 < 2 > 0");
    ASSERT_TRUE(readFirst->badge());
    EXPECT_EQ(readFirst->badge()->title(), badge->title());
    ASSERT_EQ(readFirst->friends()->count(), 1u);
    auto readFriend = platform::as<TestPlayer>(readFirst->friends()->at(0));
    EXPECT_EQ(readFriend->name(), "</name><score>999</score>");
    EXPECT_EQ(readFriend->score(), "7");
    auto readSecond = platform::as<TestPlayer>(series->objectAtIndex(1));
    EXPECT_EQ(readSecond->name(), "  spaced  ");
    EXPECT_EQ(readSecond->badge(), nullptr);
    // Writing what was read gives the same document again.
    EXPECT_EQ(HCXmlResourceWriter::xmlStringFromResources(series->objects()), xml);
}

TEST(ResourceWriterTest, TextXmlCannotCarryIsReplacedAndTheRestStillReadsBack)
{
    auto map = testNameMap();
    const std::string r = "\xEF\xBF\xBD";
    // Each case: what the player typed, and what reads back.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"line\rreturn\r\nand\ttab\n", "line\rreturn\r\nand\ttab\n"},
        {std::string("nul\0bell\x07", 9), "nul" + r + "bell" + r},
        {"stray\xFF truncated\xC3", "stray" + r + " truncated" + r},
        // An encoded surrogate is not well-formed UTF-8: each of its bytes is replaced.
        {"overlong\xC0\xAF surrogate\xED\xA0\x80 nonchar\xEF\xBF\xBE",
         "overlong" + r + r + " surrogate" + r + r + r + " nonchar" + r},
    };
    for (const auto& [typed, expected] : cases) {
        auto first = makePlayer("1", typed, "5");
        auto second = makePlayer("2", "after", "6");
        auto document = HCXmlDocument::xmlDocumentWithData(HCXmlResourceWriter::xmlStringFromResources({first, second}));
        auto series = HCResource::resourcesFromXml(*document, map.get());
        // Nothing after the odd text is lost.
        ASSERT_EQ(series->count(), 2u) << expected;
        EXPECT_EQ(platform::as<TestPlayer>(series->objectAtIndex(0))->name(), expected);
        EXPECT_EQ(platform::as<TestPlayer>(series->objectAtIndex(0))->score(), "5");
        EXPECT_EQ(platform::as<TestPlayer>(series->objectAtIndex(1))->name(), "after");
    }
}

}  // namespace
