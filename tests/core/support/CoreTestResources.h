#pragma once
// Small resource classes for the core tests: a player with plain, nested and
// nested-array fields (the getters make them writable), a badge ("award")
// nested in it under the field name "badge", and a note whose fields have no
// getter (read-only), one of them named "id".
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/resources/HCResource.h"
#include "core/resources/HCResourceClass.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/resources/HCResourceNameMap.h"
#include "platform/runtime/Thread.h"

class TestBadge final : public HCResource {
public:
    std::string getResourceName() const override { return "award"; }
    std::string getResourceDiscoveredNotification() const override { return "test_badge_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(const std::optional<std::string>& title) { title_ = title; }

private:
    std::optional<std::string> title_;
};

class TestPlayer final : public HCResource {
public:
    std::string getResourceName() const override { return "player"; }
    std::string getResourceDiscoveredNotification() const override { return "test_player_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const std::optional<std::string>& name() const { return name_; }
    void setName(const std::optional<std::string>& name);
    std::string score() const { return score_; }
    void setScore(const std::string& score) { score_ = score; }
    const std::shared_ptr<TestBadge>& badge() const { return badge_; }
    void setBadge(std::shared_ptr<TestBadge> badge)
    {
        badge_ = std::move(badge);
        ++badgeSets;
    }
    const std::shared_ptr<platform::Array>& friends() const { return friends_; }
    void setFriends(std::shared_ptr<platform::Array> friends) { friends_ = std::move(friends); }

    // How often each setter ran, and the thread the name was set on.
    int nameSets = 0;
    int badgeSets = 0;
    platform::ThreadPtr nameThread;

private:
    std::optional<std::string> name_;
    std::string score_;
    std::shared_ptr<TestBadge> badge_;
    std::shared_ptr<platform::Array> friends_;
};

class TestNote final : public HCResource {
public:
    std::string getResourceName() const override { return "note"; }
    std::string getResourceDiscoveredNotification() const override { return "test_note_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const std::optional<std::string>& text() const { return text_; }
    void setText(const std::optional<std::string>& text) { text_ = text; }
    // Its data map also has a field named "id".
    const std::optional<std::string>& extraId() const { return extraId_; }
    void setExtraId(const std::optional<std::string>& id) { extraId_ = id; }

private:
    std::optional<std::string> text_;
    std::optional<std::string> extraId_;
};

// A registered class that is not a resource.
class TestNotAResource final : public platform::Object {};

// "player", "award" and "note" registered; "gadget" names TestNotAResource.
std::shared_ptr<HCResourceNameMap> testNameMap();
