#pragma once
// The settings page's rows: "UserSetting", a setting's name and its on/off
// switch, which sends the change at once; "UserSettingAction", a row that
// opens another page.
//
// A flip covers the page with its loading screen, applies the setting's
// local side at once and keeps the setting's value until the service agrees;
// a refusal puts the switch back, undoes the local side and, while the row
// is on screen, says so; so does a change the provider drops without an
// answer.
//
// Thread: main thread.
#include <memory>

#include "kernel/callbacks/HCCallbackable.h"
#include "platform/ui/Label.h"
#include "platform/ui/Switch.h"
#include "socialpages/settings/HCUserSettingDelegate.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCUserSetting;

class HCUserSettingCell final : public HCTableCellHelper, public HCCallbackable {
public:
    static constexpr const char* kFailureMessage =
        "Something went wrong and we weren't able to save your change. Please try again later.";

    HCUserSettingCell();

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    bool canReceiveCallbacksNow() const override { return true; }

    // The switch's value-changed action.
    void switchToggled();
    void onSubmitSuccess();
    // Puts the switch and the device's side back; the player is told apart.
    void onSubmitFailure();
    void setControlToSettingValue(const std::shared_ptr<HCUserSetting>& setting);
    void setSettingToControlValue(const std::shared_ptr<HCUserSetting>& setting);

    const std::shared_ptr<platform::ui::Label>& name() const { return name_; }
    const std::shared_ptr<platform::ui::Switch>& booleanSwitch() const { return booleanSwitch_; }
    std::string kindName() const override { return "HCUserSettingCell"; }

private:
    void hideOwnersLoadingScreen();

    std::shared_ptr<platform::ui::Label> name_;
    std::shared_ptr<platform::ui::Switch> booleanSwitch_;
    // The local side of the flip waiting for the service's answer.
    HCUserSettingDelegate::Undo pendingUndo_;
};

class HCUserSettingActionCell final : public HCTableCellHelper, public HCCallbackable {
public:
    static constexpr int kLabelTag = 1;

    HCUserSettingActionCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    bool canReceiveCallbacksNow() const override { return true; }
    std::string kindName() const override { return "HCUserSettingActionCell"; }

private:
    std::shared_ptr<platform::ui::Label> label_;
};
