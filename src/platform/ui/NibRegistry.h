#pragma once
// Interface files by name. On the handheld a nib is an archived object graph;
// here a nib is a builder function registered under the nib's name. The
// builder makes the view tree (or a controller) for an owner, connects the
// owner's outlets and actions through the owner's own code, and answers the
// top-level objects.
//
// Once the builder has returned, every object it built hears awakeFromNib
// (AwakeFromNib.h), each once: the top-level objects in order, each view
// before its subviews, a controller before the views of its loaded view, and
// a view the builder gave its owning controller. The owner is not told: it
// was not built by the nib.
//
// The controller loader of a higher layer applies its variant rules (large
// screen, landscape, name suffixes) by asking exists() before load.
//
// Thread: main thread only (nibs build views).
#include <functional>
#include <memory>
#include <string>

#include "platform/foundation/Values.h"

namespace platform::ui {

class NibRegistry {
public:
    // `owner` may be nullptr. The result lists the top-level objects in order.
    using Builder = std::function<std::vector<ObjectPtr>(const ObjectPtr& owner)>;

    // A second registration under the same name replaces the first.
    static void registerNib(const std::string& name, Builder builder);
    static void unregisterNib(const std::string& name);
    static bool exists(const std::string& name);
    // The top-level objects, or nullptr when no nib has that name.
    static std::shared_ptr<Array> loadNibNamed(const std::string& name, const ObjectPtr& owner);
};

}  // namespace platform::ui
