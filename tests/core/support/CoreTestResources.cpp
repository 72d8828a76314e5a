#include "core/support/CoreTestResources.h"

const HCResourceDataMap& TestBadge::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("title", &TestBadge::setTitle, &TestBadge::title);
        return m;
    }();
    return *map;
}

void TestPlayer::setName(const std::optional<std::string>& name)
{
    name_ = name;
    ++nameSets;
    nameThread = platform::Thread::current();
}

const HCResourceDataMap& TestPlayer::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &TestPlayer::setName, &TestPlayer::name);
        m->addField("score", &TestPlayer::setScore, &TestPlayer::score);
        m->addNestedResourceField("badge", &TestPlayer::setBadge, &TestPlayer::badge);
        m->addNestedResourceArrayField("friends", &TestPlayer::setFriends, &TestPlayer::friends);
        return m;
    }();
    return *map;
}

const HCResourceDataMap& TestNote::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("text", &TestNote::setText);
        m->addField("id", &TestNote::setExtraId);
        return m;
    }();
    return *map;
}

std::shared_ptr<HCResourceNameMap> testNameMap()
{
    auto map = std::make_shared<HCResourceNameMap>();
    HCAddKnownResource<TestPlayer>(*map);
    HCAddKnownResource<TestBadge>(*map);
    HCAddKnownResource<TestNote>(*map);
    platform::registerClass<TestNotAResource>("TestNotAResource");
    map->addResource("gadget", "TestNotAResource");
    return map;
}
