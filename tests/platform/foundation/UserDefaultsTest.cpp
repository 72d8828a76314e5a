#include <gtest/gtest.h>

#include <thread>

#include "FoundationTestSupport.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/UserDefaults.h"

using namespace platform;

namespace {

class UserDefaultsTest : public ::testing::Test {
protected:
    foundationtest::ScopedSandbox sandbox;
    std::string path = Sandbox::preferencesPath();
};

}  // namespace

TEST_F(UserDefaultsTest, StandardDefaultsLiveInTheSandboxAndFollowIt)
{
    auto defaults = UserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->path(), path);
    EXPECT_EQ(UserDefaults::standardUserDefaults(), defaults);
    testsupport::TempDir other;
    Sandbox::configure(other.str());
    EXPECT_NE(UserDefaults::standardUserDefaults()->path(), path);
}

// Every property-list type's round trip is the property list's own test.
TEST_F(UserDefaultsTest, ValuesSurviveSynchronizeAndAReloadDropsUnsavedChanges)
{
    auto defaults = std::make_shared<UserDefaults>(path);
    defaults->setObject("text", String::make("caf\xC3\xA9 & <tea>\r\n"));
    defaults->setBool("flag", true);
    defaults->setInteger("count", -12345678901L);
    ASSERT_TRUE(defaults->synchronize());

    UserDefaults fresh(path);
    EXPECT_EQ(fresh.stringForKey("text"), "caf\xC3\xA9 & <tea>\r\n");
    EXPECT_TRUE(as<Number>(fresh.objectForKey("flag"))->isBoolean());
    EXPECT_EQ(fresh.integerForKey("count"), -12345678901L);

    fresh.setInteger("count", 2);
    fresh.setInteger("lost", 3);
    fresh.reload();
    EXPECT_EQ(fresh.integerForKey("count"), -12345678901L);
    EXPECT_FALSE(fresh.objectForKey("lost"));
}

TEST_F(UserDefaultsTest, RegisteredDefaultsFillGapsButNeverOverrideStoredValues)
{
    {
        UserDefaults first(path);
        first.setObject("HalcyonSettingShouldAutomaticallyPromptLogin", String::make("NO"));
        ASSERT_TRUE(first.synchronize());
    }
    UserDefaults defaults(path);
    auto registered = Dictionary::make();
    registered->setString("HalcyonSettingShouldAutomaticallyPromptLogin", "YES");
    registered->setString("other", "YES");
    registered->setString("interval", "30");
    defaults.registerDefaults(registered);
    registered->setString("other", "NO");  // the caller's dictionary is not shared

    EXPECT_FALSE(defaults.boolForKey("HalcyonSettingShouldAutomaticallyPromptLogin"));
    EXPECT_TRUE(defaults.boolForKey("other"));
    EXPECT_EQ(defaults.integerForKey("interval"), 30);
    EXPECT_EQ(defaults.doubleForKey("interval"), 30.0);

    // Removing the stored value uncovers the registered one; registered values never reach the file.
    defaults.removeObjectForKey("HalcyonSettingShouldAutomaticallyPromptLogin");
    EXPECT_TRUE(defaults.boolForKey("HalcyonSettingShouldAutomaticallyPromptLogin"));
    ASSERT_TRUE(defaults.synchronize());
    UserDefaults fresh(path);
    EXPECT_FALSE(fresh.objectForKey("other"));
    EXPECT_FALSE(fresh.objectForKey("HalcyonSettingShouldAutomaticallyPromptLogin"));
}

TEST_F(UserDefaultsTest, TypedGettersCoerceTextAndContainersGoInAndComeOutAsCopies)
{
    UserDefaults defaults(path);
    defaults.setObject("yes", String::make("YES"));
    defaults.setInteger("int", 7);
    EXPECT_TRUE(defaults.boolForKey("yes"));
    EXPECT_EQ(defaults.stringForKey("int"), "7");
    EXPECT_FALSE(defaults.arrayForKey("yes"));
    EXPECT_EQ(defaults.integerForKey("absent"), 0);

    auto list = Array::make({String::make("a")});
    defaults.setObject("list", list);
    list->add(String::make("changed after set"));
    defaults.arrayForKey("list")->add(String::make("changed after get"));
    EXPECT_EQ(defaults.arrayForKey("list")->count(), 1u);
}

TEST_F(UserDefaultsTest, NilRemovesAndNonPropertyListsAreRefused)
{
    foundationtest::ScopedProgrammingErrors errors;
    UserDefaults defaults(path);
    defaults.setObject("key", String::make("value"));
    defaults.setObject("key", std::make_shared<Object>());
    defaults.setObject("key", Array::make({nullptr}));
    EXPECT_EQ(errors.texts.size(), 2u);
    EXPECT_EQ(defaults.stringForKey("key"), "value");
    defaults.setObject("key", nullptr);
    EXPECT_FALSE(defaults.objectForKey("key"));
}

TEST_F(UserDefaultsTest, CorruptOrForeignFilesLoadAsEmpty)
{
    for (std::string content : {std::string("garbage \x00\xff", 10), std::string("<plist><array/></plist>"),
                                std::string("<plist><dict><key>a</key>"), std::string()}) {
        ASSERT_TRUE(FileFacts::writeFileAtomically(path, content));
        UserDefaults defaults(path);
        EXPECT_FALSE(defaults.objectForKey("a"));
        defaults.setInteger("a", 1);
        ASSERT_TRUE(defaults.synchronize());
        EXPECT_EQ(UserDefaults(path).integerForKey("a"), 1);
    }
}

TEST_F(UserDefaultsTest, TwoThreadsSetAndGetWithoutLosingWrites)
{
    auto defaults = UserDefaults::standardUserDefaults();
    constexpr int kCount = 500;
    auto work = [&](const std::string& prefix) {
        for (int i = 0; i < kCount; ++i) {
            defaults->setInteger(prefix + std::to_string(i), i);
            EXPECT_EQ(defaults->integerForKey(prefix + std::to_string(i)), i);
            defaults->objectForKey(prefix + std::to_string(i / 2));
            if (i % 100 == 0) defaults->synchronize();
        }
    };
    std::thread other(work, "request.");
    work("main.");
    other.join();
    ASSERT_TRUE(defaults->synchronize());
    UserDefaults fresh(path);
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(fresh.integerForKey("request." + std::to_string(i)), i);
        ASSERT_EQ(fresh.integerForKey("main." + std::to_string(i)), i);
    }
}
