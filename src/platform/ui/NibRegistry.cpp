#include "platform/ui/NibRegistry.h"

#include <map>

namespace platform::ui {
namespace {

std::map<std::string, NibRegistry::Builder>& builders()
{
    static std::map<std::string, NibRegistry::Builder> map;
    return map;
}

}  // namespace

void NibRegistry::registerNib(const std::string& name, Builder builder)
{
    if (!builder) {
        builders().erase(name);
        return;
    }
    builders()[name] = std::move(builder);
}

void NibRegistry::unregisterNib(const std::string& name)
{
    builders().erase(name);
}

bool NibRegistry::exists(const std::string& name)
{
    return builders().count(name) != 0;
}

std::shared_ptr<Array> NibRegistry::loadNibNamed(const std::string& name, const ObjectPtr& owner)
{
    auto it = builders().find(name);
    if (it == builders().end()) return nullptr;
    // A copy: the builder may register or replace nibs while it runs.
    Builder builder = it->second;
    auto objects = builder(owner);
    std::erase(objects, nullptr);
    return Array::make(std::move(objects));
}

}  // namespace platform::ui
