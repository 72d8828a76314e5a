#pragma once
// Resource classes by name: the name a class is registered under in
// platform::ClassRegistry (its own C++ name, "HCTimeStamp"), so that a name
// map or a nested field can hand the reader a class to create.
//
// Thread: any thread; registration is idempotent and the registry locks.
#include <memory>
#include <string>
#include <typeinfo>

#include "platform/runtime/ClassRegistry.h"

// The class's own name, as the compiler knows it ("HCTimeStamp").
std::string HCClassName(const std::type_info& type);

template <class T>
std::string HCClassName()
{
    return HCClassName(typeid(T));
}

// Registers T under its class name unless it is registered already, and
// answers that name.
template <class T>
std::string HCRegisterResourceClass()
{
    std::string name = HCClassName<T>();
    if (!platform::ClassRegistry::isRegistered(name)) {
        platform::registerClass<T>(name);
    }
    return name;
}
