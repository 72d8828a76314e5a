#pragma once
// Small coding classes used only by the JSON tests: a player with a nested
// badge of a known class, the way a device carries its parental controls.
#include <string>

#include "kernel/json/HCJsonCoder.h"
#include "platform/foundation/Values.h"

class JsonTestBadge final : public platform::Object, public HCJsonCoding {
public:
    static std::string classNameForJsonCoding() { return "test_badge"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map)
    {
        map["enabled"] = HCJsonBoolValue::valueWithSelector(&JsonTestBadge::setEnabled);
        map["title"] = HCJsonObjectValue::valueWithSelector(&JsonTestBadge::setTitle);
    }
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }
    void encodeWithJsonCoder(HCJsonCoder& coder) const override
    {
        coder.encodeObject(platform::Number::makeBool(enabled), "enabled");
        coder.encodeObject(title, "title");
    }

    void setEnabled(bool value) { enabled = value; }
    void setTitle(std::shared_ptr<platform::String> value) { title = std::move(value); }

    bool enabled = false;
    std::shared_ptr<platform::String> title;
};

class JsonTestPlayer final : public platform::Object, public HCJsonCoding {
public:
    static std::string classNameForJsonCoding() { return "test_player"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map)
    {
        map["name"] = HCJsonObjectValue::valueWithSelector(&JsonTestPlayer::setName);
        map["level"] = HCJsonObjectValue::valueWithSelector(&JsonTestPlayer::setLevel);
        map["active"] = HCJsonBoolValue::valueWithSelector(&JsonTestPlayer::setActive);
        map["badge"] = HCJsonObjectValue::valueWithKnownClass("JsonTestBadge", &JsonTestPlayer::setBadge);
        map["extra"] = HCJsonObjectValue::valueWithSelector(
            [](platform::Object& target, const platform::ObjectPtr& value) {
                static_cast<JsonTestPlayer&>(target).extra = value;
                static_cast<JsonTestPlayer&>(target).extraApplied = true;
            });
    }
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }
    void encodeWithJsonCoder(HCJsonCoder& coder) const override
    {
        coder.encodeObject(name, "name");
        coder.encodeObject(level, "level");
        coder.encodeObject(platform::Number::makeBool(active), "active");
        coder.encodeObject(badge, "badge");
        coder.encodeObject(extra, "extra");
    }

    void setName(const std::shared_ptr<platform::String>& value) { name = value; }
    void setLevel(std::shared_ptr<platform::Number> value) { level = std::move(value); }
    void setActive(bool value) { active = value; }
    void setBadge(std::shared_ptr<JsonTestBadge> value) { badge = std::move(value); }

    std::shared_ptr<platform::String> name;
    std::shared_ptr<platform::Number> level;
    bool active = false;
    std::shared_ptr<JsonTestBadge> badge;
    platform::ObjectPtr extra;
    bool extraApplied = false;
};
