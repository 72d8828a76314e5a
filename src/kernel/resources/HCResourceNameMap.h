#pragma once
// A service's registry of the resources its replies may hold: XML element name
// to the registered class name (instances come from platform::ClassRegistry).
//
// Thread: filled when its service starts, then read on the provider's request
// thread; it has no lock.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kernel/memory/HCSmartObject.h"

class HCResourceNameMap final : public HCSmartObject {
public:
    // Appends an entry; a name registered twice keeps its first class.
    void addResource(const std::string& name, const std::string& className);
    // The first class registered under the name; nullopt when none.
    std::optional<std::string> getTypeNamed(const std::string& name) const;

private:
    std::vector<std::pair<std::string, std::string>> entries_;
};
