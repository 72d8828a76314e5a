#pragma once
// Makes a screen's controller from its short name: "UserHalcyonApproval"
// is the class registered as "HCUserHalcyonApprovalController". Controllers
// register themselves with platform::ClassRegistry from their own source
// files. The screen-size, orientation and suffix variants come later with
// the dashboard; today a name gives exactly one class.
//
// Thread: main thread (controllers are made there).
#include <memory>
#include <string>

#include "platform/ui/ViewController.h"

class HCControllerLoader {
public:
    static std::string controllerClassName(const std::string& name);
    // Nil when no controller class of that name is registered.
    static std::shared_ptr<platform::ui::ViewController> load(const std::string& name);
};
