#include "kernel/json/HCJsonValue.h"

#include "platform/foundation/Values.h"

const std::optional<std::string>& HCJsonValue::knownClassName() const
{
    static const std::optional<std::string> none;
    return none;
}

std::shared_ptr<HCJsonObjectValue> HCJsonObjectValue::valueWithSelector(Setter setter)
{
    return std::make_shared<HCJsonObjectValue>(std::move(setter));
}

std::shared_ptr<HCJsonObjectValue> HCJsonObjectValue::valueWithKnownClass(const std::string& className, Setter setter)
{
    return std::make_shared<HCJsonObjectValue>(className, std::move(setter));
}

void HCJsonObjectValue::apply(platform::Object& target, const platform::ObjectPtr& value) const
{
    if (setter_) setter_(target, value);
}

std::shared_ptr<HCJsonBoolValue> HCJsonBoolValue::valueWithSelector(Setter setter)
{
    return std::make_shared<HCJsonBoolValue>(std::move(setter));
}

void HCJsonBoolValue::apply(platform::Object& target, const platform::ObjectPtr& value) const
{
    if (!setter_) return;
    if (auto number = std::dynamic_pointer_cast<platform::Number>(value)) {
        setter_(target, number->boolValue());
    } else if (auto text = std::dynamic_pointer_cast<platform::String>(value)) {
        setter_(target, text->value() == "true" || text->value() == "1");
    }
}
