#include "kernel/resources/HCResourceNameMap.h"

void HCResourceNameMap::addResource(const std::string& name, const std::string& className)
{
    entries_.emplace_back(name, className);
}

std::optional<std::string> HCResourceNameMap::getTypeNamed(const std::string& name) const
{
    for (const auto& [entryName, className] : entries_) {
        if (entryName == name) {
            return className;
        }
    }
    return std::nullopt;
}
