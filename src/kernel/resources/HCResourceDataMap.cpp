#include "kernel/resources/HCResourceDataMap.h"

#include <utility>

namespace hcresource_detail {

platform::ObjectPtr boxText(const std::string& text)
{
    return platform::String::make(text);
}

platform::ObjectPtr boxText(const std::optional<std::string>& text)
{
    return text ? platform::String::make(*text) : nullptr;
}

}  // namespace hcresource_detail

void HCResourceDataMap::addField(const std::string& name, Setter setter, Getter getter)
{
    fields_.push_back(HCResourceFieldDescription{name, std::move(setter), std::move(getter), std::string(), false});
}

void HCResourceDataMap::addNestedResourceField(const std::string& name, Setter setter, Getter getter,
                                               const std::string& resourceClassName)
{
    fields_.push_back(
        HCResourceFieldDescription{name, std::move(setter), std::move(getter), resourceClassName, false});
}

void HCResourceDataMap::addNestedResourceArrayField(const std::string& name, Setter setter, Getter getter)
{
    fields_.push_back(HCResourceFieldDescription{name, std::move(setter), std::move(getter), std::string(), true});
}

const HCResourceFieldDescription* HCResourceDataMap::getFieldDescription(const std::string& name) const
{
    for (const HCResourceFieldDescription& field : fields_) {
        if (field.dataFieldName == name) {
            return &field;
        }
    }
    return nullptr;
}
