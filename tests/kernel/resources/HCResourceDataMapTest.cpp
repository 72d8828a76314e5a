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

TEST(HCResourceDataMap, TheFirstFieldOfANameWinsAndASubclassMapStartsAsItsParents)
{
    HCResourceDataMap parent;
    parent.addField<TestScore>("score", &TestScore::setScore, &TestScore::score);
    HCResourceDataMap child;
    child.copyFieldsFrom(parent);
    child.addField<TestChallengeScore>("challenge", &TestChallengeScore::setChallenge);
    child.addField<TestChallengeScore>("score", &TestChallengeScore::setChallenge);
    EXPECT_EQ(parent.fields().size(), 1u) << "the parent is untouched";

    // The parent's accessors work on the subclass, and its "score" entry wins.
    TestChallengeScore object;
    child.getFieldDescription("score")->setter(object, platform::String::make("77"));
    child.getFieldDescription("challenge")->setter(object, platform::String::make("c1"));
    EXPECT_EQ(object.score_, 77);
    EXPECT_EQ(object.challenge_, "c1");
    EXPECT_EQ(platform::textOf(child.getFieldDescription("score")->getter(object)), "77");
    EXPECT_FALSE(child.getFieldDescription("challenge")->getter) << "no getter means read-only";
    EXPECT_EQ(child.getFieldDescription("missing"), nullptr);
}

TEST(HCResourceDataMap, TypedFieldsConvertNilAndSkipValuesOfAnotherClass)
{
    HCResourceDataMap map;
    map.addField<TestUser>("name", &TestUser::setName, &TestUser::name);
    map.addField<TestUser>("nickname", &TestUser::setNickname, &TestUser::nickname);
    TestUser user;
    map.getFieldDescription("name")->setter(user, nullptr);
    map.getFieldDescription("nickname")->setter(user, nullptr);
    EXPECT_EQ(user.name(), "") << "nil reaches a plain-text setter as the empty text";
    EXPECT_EQ(user.nickname(), std::nullopt) << "nil reaches an optional setter as nil";
    EXPECT_EQ(map.getFieldDescription("nickname")->getter(user), nullptr);

    // The nested class is named (and registered) from the setter's type.
    HCResourceDataMap scores;
    scores.addNestedResourceField("user", &TestScore::setUser, &TestScore::user);
    scores.addNestedResourceArrayField<TestScore>("entries", &TestScore::setEntries);
    const auto* nested = scores.getFieldDescription("user");
    auto made = platform::ClassRegistry::create(nested->resourceClassName);
    ASSERT_NE(platform::as<TestUser>(made), nullptr);
    EXPECT_TRUE(scores.getFieldDescription("entries")->isResourceArray);
    TestScore score;
    nested->setter(score, made);
    EXPECT_EQ(nested->getter(score), made);
    nested->setter(score, platform::String::make("not a user"));
    EXPECT_EQ(score.user_, nullptr) << "a value of another class arrives as nil";
    nested->setter(user, made);  // a setter on an object of another class does nothing
}

}  // namespace
