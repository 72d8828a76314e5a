#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <algorithm>

#include "FoundationTestSupport.h"
#include "platform/foundation/DeviceFacts.h"

using namespace platform;

TEST(DeviceFacts, UniqueIdentifierIsMadeOnceAndKeptInTheSandbox)
{
    foundationtest::ScopedSandbox sandbox;
    std::string id = DeviceFacts::uniqueIdentifier();
    EXPECT_EQ(id.size(), 40u);
    EXPECT_TRUE(std::all_of(id.begin(), id.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); })) << id;
    EXPECT_EQ(DeviceFacts::uniqueIdentifier(), id);
    DeviceFacts::reset();
    EXPECT_EQ(DeviceFacts::uniqueIdentifier(), id);  // read back from the sandbox

    foundationtest::ScopedSandbox otherSandbox;
    EXPECT_NE(DeviceFacts::uniqueIdentifier(), id);
}

TEST(DeviceFacts, DefaultsDescribeASmallScreenDeviceOnThisMachine)
{
    foundationtest::ScopedSandbox sandbox;
    struct utsname u {};
    ASSERT_EQ(::uname(&u), 0);
    EXPECT_EQ(DeviceFacts::hardwareModel(), u.machine);
    EXPECT_EQ(DeviceFacts::systemName(), u.sysname);
    EXPECT_EQ(DeviceFacts::systemVersion(), "4.2");
    EXPECT_FALSE(DeviceFacts::name().empty());
    EXPECT_FALSE(DeviceFacts::isLargeScreen());
    EXPECT_EQ(DeviceFacts::screenWidth(), 320);
    EXPECT_EQ(DeviceFacts::screenHeight(), 480);
}

TEST(DeviceFacts, OverridesHoldUntilReset)
{
    foundationtest::ScopedSandbox sandbox;
    std::string stored = DeviceFacts::uniqueIdentifier();
    DeviceFacts::setUniqueIdentifier("udid-1");
    DeviceFacts::setName("Ada's phone");
    DeviceFacts::setSystemName("iPhone OS");
    DeviceFacts::setSystemVersion("3.1.3");
    DeviceFacts::setHardwareModel("iPhone3,1");
    DeviceFacts::setLargeScreen(true);
    EXPECT_EQ(DeviceFacts::uniqueIdentifier(), "udid-1");
    EXPECT_EQ(DeviceFacts::name(), "Ada's phone");
    EXPECT_EQ(DeviceFacts::systemName(), "iPhone OS");
    EXPECT_EQ(DeviceFacts::systemVersion(), "3.1.3");
    EXPECT_EQ(DeviceFacts::hardwareModel(), "iPhone3,1");
    EXPECT_TRUE(DeviceFacts::isLargeScreen());
    EXPECT_EQ(DeviceFacts::screenWidth(), 768);
    EXPECT_EQ(DeviceFacts::screenHeight(), 1024);
    DeviceFacts::reset();
    EXPECT_EQ(DeviceFacts::uniqueIdentifier(), stored);
    EXPECT_EQ(DeviceFacts::systemVersion(), "4.2");
    EXPECT_FALSE(DeviceFacts::isLargeScreen());
}
