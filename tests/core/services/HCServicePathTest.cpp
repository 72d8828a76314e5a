// Ids put into service paths: one escaped segment each, and nothing sent for
// an id that names nothing.
#include <gtest/gtest.h>

#include "core/services/HCServicePath.h"
#include "support/TestSupport.h"

TEST(HCServicePathTest, EachIdBecomesExactlyOneEscapedSegment)
{
    EXPECT_EQ(HCServicePath::format("topics/%@/discussions.xml", {"12"}), "topics/12/discussions.xml");
    EXPECT_EQ(HCServicePath::format("client_applications/%@/users/%@.xml", {"7", "me"}),
              "client_applications/7/users/me.xml");
    EXPECT_EQ(HCServicePath::format("discussions/%@/posts.xml", {"1/../../users"}),
              "discussions/1%2F..%2F..%2Fusers/posts.xml");
    EXPECT_EQ(HCServicePath::format("topics/%@/discussions.xml", {"a b?page=2#x&y"}),
              "topics/a%20b%3Fpage%3D2%23x%26y/discussions.xml");
    EXPECT_EQ(HCServicePath::format("users/%@.xml", {"Zoë"}), "users/Zo%C3%AB.xml");
    EXPECT_EQ(HCServicePath::format("forums.xml", {}), "forums.xml");
}

TEST(HCServicePathTest, AnIdThatNamesNothingGivesNoPathAndAFailureWithoutRequest)
{
    for (const std::optional<std::string>& id : {std::optional<std::string>(), std::optional<std::string>(""),
                                                 std::optional<std::string>("."), std::optional<std::string>("..")})
        EXPECT_EQ(HCServicePath::format("topics/%@/discussions.xml", {id}), std::nullopt);
    EXPECT_EQ(HCServicePath::format("a/%@/b/%@", {"1", std::nullopt}), std::nullopt);
    // The counts must agree.
    EXPECT_EQ(HCServicePath::format("a/%@/b/%@", {"1"}), std::nullopt);
    EXPECT_EQ(HCServicePath::format("a/%@", {"1", "2"}), std::nullopt);

    int failures = 0;
    platform::ObjectPtr received = std::make_shared<platform::Object>();
    auto failure = HCDelegate::withFunction([&](const platform::ObjectPtr& v) {
        ++failures;
        received = v;
    });
    EXPECT_EQ(HCServicePath::refuse(failure), nullptr);
    EXPECT_EQ(failures, 0);  // delivered later, like every callback
    testsupport::drainMain();
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(received, nullptr);
}
