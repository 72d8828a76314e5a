#include "uiframework/table/HCResourceControllerMap.h"

void HCResourceControllerMap::add(std::type_index type, std::function<bool(const platform::Object&)> matches,
                                  const std::string& cellName)
{
    for (auto& entry : entries_) {
        if (entry.type == type) {
            entry.cellName = cellName;
            return;
        }
    }
    entries_.push_back(Entry{type, std::move(matches), cellName});
}

std::optional<std::string> HCResourceControllerMap::cellNameForResource(const platform::ObjectPtr& resource) const
{
    if (!resource) return std::nullopt;
    const platform::Object& object = *resource;
    const std::type_index type(typeid(object));
    for (const auto& entry : entries_) {
        if (entry.type == type) return entry.cellName;
    }
    for (const auto& entry : entries_) {
        if (entry.matches(object)) return entry.cellName;
    }
    return std::nullopt;
}
