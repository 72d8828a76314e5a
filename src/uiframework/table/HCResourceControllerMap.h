#pragma once
// Which cell shows which resource: a table page fills one in
// populateResourceMap (resource class -> short cell name for the controller
// loader). A class mapped again takes the new cell. A resource finds the
// cell of its own class first, then that of the first mapped class it
// derives from.
//
// Thread: main thread (filled and read by its page).
#include <functional>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/runtime/Object.h"

class HCResourceControllerMap {
public:
    template <class T>
    void addResourceClass(const std::string& cellName)
    {
        add(typeid(T), [](const platform::Object& o) { return dynamic_cast<const T*>(&o) != nullptr; }, cellName);
    }
    // The cell name for the resource; nullopt when its class is not mapped.
    std::optional<std::string> cellNameForResource(const platform::ObjectPtr& resource) const;
    bool isEmpty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }

private:
    struct Entry {
        std::type_index type;
        std::function<bool(const platform::Object&)> matches;
        std::string cellName;
    };
    void add(std::type_index type, std::function<bool(const platform::Object&)> matches, const std::string& cellName);

    std::vector<Entry> entries_;
};
