#include "social/settings/HCUserSettingPushController.h"

#include <map>

#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/ThreadChecker.h"
#include "uiframework/HCControllerLoader.h"

namespace {

std::map<std::string, HCUserSettingPushController::Action>& actions()
{
    static std::map<std::string, HCUserSettingPushController::Action> table;
    return table;
}

}  // namespace

const HCResourceDataMap& HCUserSettingPushController::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("controller_name", &HCUserSettingPushController::setControllerName);
        m->addField("setting_title", &HCUserSettingPushController::setSettingTitle);
        m->addField("selector_to_call", &HCUserSettingPushController::setSelectorToCall);
        return m;
    }();
    return *map;
}

void HCUserSettingPushController::registerAction(const std::string& name, Action action)
{
    HC_CHECK_MAIN_THREAD();
    actions()[name] = std::move(action);
}

void HCUserSettingPushController::unregisterAction(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    actions().erase(name);
}

void HCUserSettingPushController::setSelectorToCall(const Text& text)
{
    selectorToCall_ = text && !text->empty() ? text : std::nullopt;
}

platform::ui::ViewControllerPtr HCUserSettingPushController::getController() const
{
    HC_CHECK_MAIN_THREAD();
    if (!controllerName_) return nullptr;
    auto page = HCControllerLoader::load(*controllerName_);
    if (!page || !selectorToCall_) return page;
    auto found = actions().find(*selectorToCall_);
    if (found == actions().end()) {
        platform::log(platform::LogLevel::Warning,
                      "settings row names an action the client does not have: " + *selectorToCall_);
        return page;
    }
    found->second(page);
    return page;
}
