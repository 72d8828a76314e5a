#pragma once
// "The class named X": the one registry from class names to factories.
//
// Resource names sent by the server, controller names built by the loader and
// JSON class tags are all resolved here, so nothing is ever instantiated from a
// name that some code did not register on purpose.
//
// Thread: any thread; registration normally happens at start-up.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"

namespace platform {

class ClassRegistry {
public:
    using Factory = std::function<std::shared_ptr<Object>()>;

    static void registerClass(const std::string& name, Factory factory);
    static bool isRegistered(const std::string& name);
    // nullptr when no class of that name was registered.
    static std::shared_ptr<Object> create(const std::string& name);
    static std::vector<std::string> registeredNames();
};

template <class T>
void registerClass(const std::string& name)
{
    ClassRegistry::registerClass(name, [] { return std::static_pointer_cast<Object>(std::make_shared<T>()); });
}

}  // namespace platform
