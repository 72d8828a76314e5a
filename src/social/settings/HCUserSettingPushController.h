#pragma once
// A settings row that opens another page ("user_setting_push_controller"):
// the page's loader name, the row's label, and optionally an action to run
// on the new page.
//
// The action's name comes from the service, so it is never looked up as a
// method: only the actions registered in the client's table run; any other
// name is logged and ignored.
//
// Thread: read on the provider's request thread; getController and the
// action table on the main thread.
#include <functional>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "platform/ui/ViewController.h"

class HCUserSettingPushController final : public HCResource {
public:
    using Text = std::optional<std::string>;
    using Action = std::function<void(const platform::ui::ViewControllerPtr& page)>;

    // Rows come with the settings; they have no service of their own.
    std::shared_ptr<HCService> getService() const override { return nullptr; }
    std::string getResourceName() const override { return "user_setting_push_controller"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    // The action a reply may name; the page it is given is the new page.
    static void registerAction(const std::string& name, Action action);
    static void unregisterAction(const std::string& name);

    // The new page (nil when the loader knows no such page), after the
    // registered action, when one is named, ran on it.
    platform::ui::ViewControllerPtr getController() const;

    const Text& controllerName() const { return controllerName_; }
    const Text& settingTitle() const { return settingTitle_; }
    const Text& selectorToCall() const { return selectorToCall_; }
    void setControllerName(const Text& text) { controllerName_ = text; }
    void setSettingTitle(const Text& text) { settingTitle_ = text; }
    // An empty name is no name.
    void setSelectorToCall(const Text& text);

private:
    Text controllerName_, settingTitle_, selectorToCall_;
};
