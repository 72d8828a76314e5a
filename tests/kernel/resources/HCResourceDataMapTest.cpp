#include <gtest/gtest.h>

#include <string>

#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/resources/HCResourceNameMap.h"
#include "platform/runtime/ClassRegistry.h"

namespace {

class TestUser final : public platform::Object {
public:
    void setName(const std::string& v) { name_ = v; }
    const std::string& name() const { return name_; }
    void setNickname(const std::optional<std::string>& v) { nickname_ = v; }
    std::optional<std::string> nickname() const { return nickname_; }

private:
    std::string name_ = "unset";
    std::optional<std::string> nickname_ = "unset";
};

class TestScore : public platform::Object {
public:
    void setScore(const std::string& v) { score_ = std::stoll(v.empty() ? "0" : v); }
    std::string score() const { return std::to_string(score_); }
    void setUser(const std::shared_ptr<TestUser>& u) { user_ = u; }
    std::shared_ptr<TestUser> user() const { return user_; }
    void setEntries(std::shared_ptr<platform::Array> a) { entries_ = std::move(a); }
    std::shared_ptr<platform::Array> entries() const { return entries_; }
    void setRank(const std::string& v) { rank_ = v; }

    long long score_ = -1;
    std::shared_ptr<TestUser> user_;
    std::shared_ptr<platform::Array> entries_;
    std::string rank_;
};

class TestChallengeScore final : public TestScore {
public:
    void setChallenge(const std::string& v) { challenge_ = v; }
    std::string challenge_;
};

TEST(HCResourceDataMap, KeepsOrderAndAnswersTheFirstEntryOfAName)
{
    HCResourceDataMap map;
    int which = 0;
    map.addField("id", [&](platform::Object&, const platform::ObjectPtr&) { which = 1; });
    map.addNestedResourceField("user", [&](platform::Object&, const platform::ObjectPtr&) { which = 2; }, {},
                               "TestUser");
    map.addNestedResourceArrayField("entries", [&](platform::Object&, const platform::ObjectPtr&) { which = 3; });
    map.addField("id", [&](platform::Object&, const platform::ObjectPtr&) { which = 4; });

    ASSERT_EQ(map.fields().size(), 4u);
    EXPECT_EQ(map.fields()[0].dataFieldName, "id");
    EXPECT_EQ(map.fields()[1].dataFieldName, "user");
    EXPECT_EQ(map.fields()[2].dataFieldName, "entries");
    EXPECT_EQ(map.fields()[3].dataFieldName, "id");

    const HCResourceFieldDescription* id = map.getFieldDescription("id");
    ASSERT_NE(id, nullptr);
    TestUser target;
    id->setter(target, nullptr);
    EXPECT_EQ(which, 1) << "the first entry of a name wins";
    EXPECT_FALSE(id->getter) << "no getter means read-only";

    const HCResourceFieldDescription* user = map.getFieldDescription("user");
    EXPECT_EQ(user->resourceClassName, "TestUser");
    EXPECT_FALSE(user->isResourceArray);
    EXPECT_TRUE(map.getFieldDescription("entries")->isResourceArray);
    EXPECT_TRUE(map.getFieldDescription("entries")->resourceClassName.empty());
    EXPECT_EQ(map.getFieldDescription("missing"), nullptr);
}

TEST(HCResourceDataMap, TypedTextFieldsConvertNilAndBoxValues)
{
    HCResourceDataMap map;
    map.addField<TestUser>("name", &TestUser::setName, &TestUser::name);
    map.addField<TestUser>("nickname", &TestUser::setNickname, &TestUser::nickname);

    TestUser user;
    const auto* name = map.getFieldDescription("name");
    const auto* nickname = map.getFieldDescription("nickname");
    name->setter(user, platform::String::make("Ann"));
    nickname->setter(user, platform::String::make("A"));
    EXPECT_EQ(user.name(), "Ann");
    EXPECT_EQ(user.nickname(), "A");
    EXPECT_EQ(platform::textOf(name->getter(user)), "Ann");
    EXPECT_EQ(platform::textOf(nickname->getter(user)), "A");

    name->setter(user, nullptr);
    nickname->setter(user, nullptr);
    EXPECT_EQ(user.name(), "") << "nil reaches a plain-text setter as the empty text";
    EXPECT_EQ(user.nickname(), std::nullopt) << "nil reaches an optional setter as nil";
    EXPECT_EQ(nickname->getter(user), nullptr) << "a nil value is read back as nil";
}

TEST(HCResourceDataMap, TypedNestedAndArrayFields)
{
    HCResourceDataMap map;
    map.addNestedResourceField("user", &TestScore::setUser, &TestScore::user);
    map.addNestedResourceArrayField<TestScore>("entries", &TestScore::setEntries, &TestScore::entries);

    TestScore score;
    const auto* user = map.getFieldDescription("user");
    auto made = platform::ClassRegistry::create(user->resourceClassName);
    ASSERT_NE(made, nullptr);
    user->setter(score, made);
    EXPECT_EQ(score.user_, made);
    EXPECT_EQ(user->getter(score), made);

    user->setter(score, platform::String::make("not a user"));
    EXPECT_EQ(score.user_, nullptr) << "a value of another class arrives as nil";

    auto list = platform::Array::make({std::make_shared<TestUser>()});
    map.getFieldDescription("entries")->setter(score, list);
    EXPECT_EQ(score.entries_, list);
    EXPECT_EQ(map.getFieldDescription("entries")->getter(score), list);
}

TEST(HCResourceDataMap, ASubclassMapStartsAsACopyOfItsParents)
{
    HCResourceDataMap parent;
    parent.addField<TestScore>("score", &TestScore::setScore, &TestScore::score);
    parent.addField<TestScore>("rank", &TestScore::setRank);

    HCResourceDataMap child;
    child.copyFieldsFrom(parent);
    child.addField<TestChallengeScore>("challenge", &TestChallengeScore::setChallenge);
    child.addField<TestChallengeScore>("score", &TestChallengeScore::setChallenge);

    EXPECT_EQ(parent.fields().size(), 2u) << "the parent is untouched";
    ASSERT_EQ(child.fields().size(), 4u);
    EXPECT_EQ(child.fields()[2].dataFieldName, "challenge");

    // The parent's accessors work on the subclass, and the parent's "score"
    // entry still wins over the one added later.
    TestChallengeScore object;
    child.getFieldDescription("score")->setter(object, platform::String::make("77"));
    child.getFieldDescription("challenge")->setter(object, platform::String::make("c1"));
    EXPECT_EQ(object.score_, 77);
    EXPECT_EQ(object.challenge_, "c1");
    EXPECT_EQ(platform::textOf(child.getFieldDescription("score")->getter(object)), "77");
}

TEST(HCResourceNameMap, AnswersTheFirstClassRegisteredUnderAName)
{
    HCResourceNameMap map;
    map.addResource("user", "HCUser");
    map.addResource("bootstrap", "HCBootstrap");
    map.addResource("user", "HCOtherUser");
    EXPECT_EQ(map.getTypeNamed("user"), "HCUser");
    EXPECT_EQ(map.getTypeNamed("bootstrap"), "HCBootstrap");
    EXPECT_EQ(map.getTypeNamed("unknown"), std::nullopt);
    EXPECT_EQ(map.getTypeNamed(""), std::nullopt);
}

}  // namespace
