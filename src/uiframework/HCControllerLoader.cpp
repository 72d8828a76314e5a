#include "uiframework/HCControllerLoader.h"

#include "platform/foundation/Log.h"
#include "platform/runtime/ClassRegistry.h"

std::string HCControllerLoader::controllerClassName(const std::string& name)
{
    return "HC" + name + "Controller";
}

std::shared_ptr<platform::ui::ViewController> HCControllerLoader::load(const std::string& name)
{
    const std::string className = controllerClassName(name);
    auto controller = std::dynamic_pointer_cast<platform::ui::ViewController>(platform::ClassRegistry::create(className));
    if (!controller) {
        platform::log(platform::LogLevel::Error, "No controller class " + className + " for \"" + name + "\".");
    }
    return controller;
}
