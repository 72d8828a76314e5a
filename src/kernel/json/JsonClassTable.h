#pragma once
// The coder's registry of decodable classes, by JSON name and by class name.
//
// Registration replaces the whole table (copy on write), so a decode takes
// one snapshot and reads it without locking.
//
// Thread: any.
#include <memory>
#include <string>
#include <unordered_map>

#include "kernel/json/HCJsonValue.h"

namespace hcjson {

struct ClassEntry {
    std::string className;  // platform::ClassRegistry name
    std::string jsonName;
    HCJsonValueMap valueMap;
};
using ClassEntryPtr = std::shared_ptr<const ClassEntry>;

struct ClassTable {
    std::unordered_map<std::string, ClassEntryPtr> byJsonName;
    std::unordered_map<std::string, ClassEntryPtr> byClassName;

    ClassEntryPtr findJsonName(const std::string& name) const;
    ClassEntryPtr findClassName(const std::string& name) const;

    static std::shared_ptr<const ClassTable> snapshot();
    static void add(ClassEntry entry);
};

}  // namespace hcjson
