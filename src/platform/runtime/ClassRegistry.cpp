#include "platform/runtime/ClassRegistry.h"

#include <map>
#include <mutex>

namespace platform {
namespace {
struct Registry {
    std::mutex mutex;
    std::map<std::string, ClassRegistry::Factory> factories;
};
Registry& registry()
{
    static Registry r;
    return r;
}
}  // namespace

void ClassRegistry::registerClass(const std::string& name, Factory factory)
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.factories[name] = std::move(factory);
}

bool ClassRegistry::isRegistered(const std::string& name)
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return r.factories.count(name) != 0;
}

std::shared_ptr<Object> ClassRegistry::create(const std::string& name)
{
    Factory factory;
    {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        auto it = r.factories.find(name);
        if (it == r.factories.end()) return nullptr;
        factory = it->second;
    }
    return factory();
}

std::vector<std::string> ClassRegistry::registeredNames()
{
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    std::vector<std::string> names;
    for (auto& [name, f] : r.factories) names.push_back(name);
    return names;
}

}  // namespace platform
