#include "platform/ui/NibRegistry.h"

#include <map>
#include <set>

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {
namespace {

std::map<std::string, NibRegistry::Builder>& builders()
{
    static std::map<std::string, NibRegistry::Builder> map;
    return map;
}

void collectBuilt(const ObjectPtr& object, std::vector<ObjectPtr>& out, std::set<const Object*>& seen)
{
    if (!object || !seen.insert(object.get()).second) return;
    out.push_back(object);
    if (auto view = std::dynamic_pointer_cast<View>(object)) {
        for (const auto& sub : view->subviews()) collectBuilt(sub, out, seen);
    } else if (auto controller = std::dynamic_pointer_cast<ViewController>(object)) {
        collectBuilt(controller->viewIfLoaded(), out, seen);
    }
}

}  // namespace

void NibRegistry::registerNib(const std::string& name, Builder builder)
{
    HC_CHECK_MAIN_THREAD();
    if (!builder) {
        builders().erase(name);
        return;
    }
    builders()[name] = std::move(builder);
}

void NibRegistry::unregisterNib(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    builders().erase(name);
}

bool NibRegistry::exists(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    return builders().count(name) != 0;
}

std::shared_ptr<Array> NibRegistry::loadNibNamed(const std::string& name, const ObjectPtr& owner)
{
    HC_CHECK_MAIN_THREAD();
    auto it = builders().find(name);
    if (it == builders().end()) return nullptr;
    // A copy: the builder may register or replace nibs while it runs.
    Builder builder = it->second;
    auto ownerController = std::dynamic_pointer_cast<ViewController>(owner);
    const ViewPtr viewBefore = ownerController ? ownerController->viewIfLoaded() : nullptr;
    auto objects = builder(owner);
    std::erase(objects, nullptr);
    // Everything is gathered before anyone wakes, so an awakeFromNib that
    // adds views of its own does not wake them.
    std::vector<ObjectPtr> built;
    std::set<const Object*> seen{owner.get()};
    for (const auto& object : objects) collectBuilt(object, built, seen);
    // A builder may hand the owner its view without listing it.
    if (ownerController && ownerController->viewIfLoaded() != viewBefore)
        collectBuilt(ownerController->viewIfLoaded(), built, seen);
    for (const auto& object : built)
        if (auto awaking = std::dynamic_pointer_cast<AwakeFromNib>(object)) awaking->awakeFromNib();
    return Array::make(std::move(objects));
}

}  // namespace platform::ui
