// The poller's reply reader: only the watched classes, in reply order, with
// their numeric ids; a class that is no resource is not watched.
#include <gtest/gtest.h>

#include "core/poller/HCResourcePollerReplyReader.h"
#include "core/support/CoreTestResources.h"

namespace {

TEST(PollerReplyReaderTest, ReadsWatchedClassesInReplyOrder)
{
    testNameMap();  // registers the test classes
    auto player = HCPollerResourceClassNamed("TestPlayer");
    auto note = HCPollerResourceClassNamed("TestNote");
    ASSERT_TRUE(player && note);
    EXPECT_EQ(player->discoveredNotification, "test_player_discovered");
    EXPECT_FALSE(HCPollerResourceClassNamed("TestNotAResource"));

    platform::Data body(std::string(
        "<resources><player><id>12</id><name>Ann</name></player><award><id>3</id></award>"
        "<note><id>x</id></note><player><id>9</id></player><stranger><id>1</id></stranger></resources>"));
    HCResourcePollerReplyReader reader;
    auto items = reader.read(body, {*player, *note});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].resourceName, "player");
    EXPECT_EQ(items[0].resourceId, 12);
    EXPECT_EQ(platform::as<TestPlayer>(items[0].resource)->name(), "Ann");
    EXPECT_EQ(items[1].resourceName, "note");
    EXPECT_EQ(items[1].resourceId, 0);
    EXPECT_EQ(items[2].resourceId, 9);

    EXPECT_TRUE(reader.read(platform::Data(std::string("<resources><pla")), {*player}).empty());
    EXPECT_TRUE(reader.read(platform::Data(), {*player}).empty());
    EXPECT_TRUE(reader.read(body, {}).empty());
}

}  // namespace
