#include <gtest/gtest.h>

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
