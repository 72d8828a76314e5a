#include "core/resources/HCResource.h"

#include "kernel/json/HCJsonCoder.h"

namespace {

const HCJsonCodingRegistration<HCResource> sResourceCoding("HCResource");

}  // namespace

void HCResource::registerJsonValueTypesForDecoding(HCJsonValueMap& map)
{
    map["id"] = HCJsonObjectValue::valueWithSelector([](platform::Object& target, const platform::ObjectPtr& value) {
        if (auto* resource = dynamic_cast<HCResource*>(&target)) {
            resource->setResourceId(platform::textOf(value));
        }
    });
}

void HCResource::encodeWithJsonCoder(HCJsonCoder& coder) const
{
    coder.encodeObject(resourceId_ ? platform::String::make(*resourceId_) : nullptr, "id");
}
