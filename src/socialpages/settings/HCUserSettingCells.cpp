#include "socialpages/settings/HCUserSettingCells.h"

#include <utility>

#include "core/halcyon/Halcyon.h"
#include "platform/foundation/TextConversions.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/settings/HCUserSetting.h"
#include "social/settings/HCUserSettingPushController.h"
#include "social/settings/HCUserSettingService.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCViewController.h"

namespace {

using platform::ui::Rect;

constexpr double kUserSettingCellsCellWidth = 320.0;
constexpr double kUserSettingCellsCellHeight = 44.0;

bool isBool(const std::shared_ptr<HCUserSetting>& setting)
{
    return setting->valueType() == std::optional<std::string>("bool");
}

// The service writes booleans as "1"/"0"; any text it sends gets the lenient reading.
bool readsOn(const std::optional<std::string>& value)
{
    return value && platform::boolValue(*value);
}

}  // namespace

HCUserSettingCell::HCUserSettingCell()
    : name_(platform::ui::Label::make(Rect(10, 0, 200, kUserSettingCellsCellHeight))),
      booleanSwitch_(platform::ui::Switch::make(
          Rect(kUserSettingCellsCellWidth - platform::ui::Switch::kSize.width - 10, 8, platform::ui::Switch::kSize.width,
               platform::ui::Switch::kSize.height)))
{
    setFrame(Rect(0, 0, kUserSettingCellsCellWidth, kUserSettingCellsCellHeight));
}

void HCUserSettingCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!name_->superview()) {
        contentView()->addSubview(name_);
        contentView()->addSubview(booleanSwitch_);
        booleanSwitch_->addTarget(
            this,
            [this](platform::ui::Control&) { switchToggled(); }, platform::ui::ControlEventValueChanged);
    }
    auto setting = platform::as<HCUserSetting>(resource);
    if (!setting) return;
    name_->setText(setting->name().value_or(""));
    // Subscribing needs an address to write to: without one the newsletter reads off.
    if (setting->key() == std::optional<std::string>("newsletter_open_halcyon") && setting->value() == "1" &&
        !Halcyon::loggedInUserHasHttpBasicCredential())
        setting->setValue(std::string("0"));
    setControlToSettingValue(setting);
}

void HCUserSettingCell::setControlToSettingValue(const std::shared_ptr<HCUserSetting>& setting)
{
    if (isBool(setting)) {
        booleanSwitch_->setEnabled(true);
        booleanSwitch_->setOn(readsOn(setting->value()));
    } else {
        booleanSwitch_->setOn(false);
        booleanSwitch_->setEnabled(false);
    }
}

void HCUserSettingCell::setSettingToControlValue(const std::shared_ptr<HCUserSetting>& setting)
{
    if (isBool(setting)) setting->setValue(std::string(booleanSwitch_->isOn() ? "1" : "0"));
}

void HCUserSettingCell::switchToggled()
{
    HC_CHECK_MAIN_THREAD();
    auto setting = platform::as<HCUserSetting>(resource());
    if (!setting) return;
    if (auto page = std::dynamic_pointer_cast<HCViewController>(owner())) page->showLoadingScreen();
    // The undo runs wherever the player is; only a settings page on screen says the change failed.
    auto [saved, refused] = pageRequestDelegates<HCUserSettingCell>(
        std::static_pointer_cast<HCUserSettingCell>(platform::self(this)),
        [](auto& cell, const auto&) { cell.onSubmitSuccess(); }, [](auto& cell, const auto&) { cell.onSubmitFailure(); },
        tellWithAlert<HCUserSettingCell>("Oops! There was a problem", kFailureMessage, "OK"));
    const bool value = booleanSwitch_->isOn();
    HCUserSettingService::setUserSettingWithId(setting->resourceId(), value, saved, refused);
    // The device follows at once; the reply decides whether it stays so.
    pendingUndo_ = HCUserSettingDelegate::settingValueToggled(setting, value);
}

void HCUserSettingCell::hideOwnersLoadingScreen()
{
    if (auto page = std::dynamic_pointer_cast<HCViewController>(owner())) page->hideLoadingScreen();
}

void HCUserSettingCell::onSubmitSuccess()
{
    HC_CHECK_MAIN_THREAD();
    pendingUndo_ = nullptr;
    hideOwnersLoadingScreen();
    if (auto setting = platform::as<HCUserSetting>(resource())) setSettingToControlValue(setting);
}

void HCUserSettingCell::onSubmitFailure()
{
    HC_CHECK_MAIN_THREAD();
    hideOwnersLoadingScreen();
    if (auto undo = std::exchange(pendingUndo_, nullptr)) undo();
    if (auto setting = platform::as<HCUserSetting>(resource())) setControlToSettingValue(setting);
    setNeedsLayout();
}

HCUserSettingActionCell::HCUserSettingActionCell() : label_(platform::ui::Label::make(Rect(10, 0, 280, kUserSettingCellsCellHeight)))
{
    setFrame(Rect(0, 0, kUserSettingCellsCellWidth, kUserSettingCellsCellHeight));
    label_->setTag(kLabelTag);
    setAccessoryType(platform::ui::TableViewCellAccessoryType::DisclosureIndicator);
}

void HCUserSettingActionCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!label_->superview()) contentView()->addSubview(label_);
    if (auto row = platform::as<HCUserSettingPushController>(resource))
        label_->setText(row->settingTitle().value_or(""));
}
