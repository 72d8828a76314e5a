// The users table: the players who logged in on this device.
#include <gtest/gtest.h>

#include "core/users/HCUser.h"
#include "kernel/callbacks/HCDelegate.h"
#include "scores/offline/HCUserService+Private.h"
#include "scores/support/OfflineStoreFixture.h"

namespace {

class LocalUsersTest : public testsupport::OfflineStoreFixture {};

TEST_F(LocalUsersTest, APlayerIsWrittenOnceAndFoundByIdWithNilForMissingText)
{
    EXPECT_FALSE(HCUserServicePrivate::getLocalUser("7"));
    EXPECT_FALSE(HCUserServicePrivate::createLocalUser(std::nullopt, "Nobody", std::nullopt));
    ASSERT_TRUE(HCUserServicePrivate::createLocalUser("7", "Ada", "http://pics/7.png"));
    ASSERT_TRUE(HCUserServicePrivate::createLocalUser("7", "Ada L.", std::nullopt));

    auto user = HCUserServicePrivate::getLocalUser("7");
    ASSERT_TRUE(user);
    EXPECT_EQ(user->resourceId(), "7");
    EXPECT_EQ(user->name(), "Ada L.");
    EXPECT_EQ(user->profilePictureUrl(), std::nullopt);
    EXPECT_FALSE(HCUserServicePrivate::getLocalUser("8"));
}

}  // namespace
