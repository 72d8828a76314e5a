#pragma once
// A row of a menu page (the fan club, the inbox's top level): an icon, a
// title and a badge, and what a tap does: open the page named by
// controllerName, or, with a createControllerSelector, let the owning page act itself.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/widgets/HCBadgeView.h"

class HCFanClubCell final : public HCTableCellHelper {
public:
    HCFanClubCell();

    // Puts the icon, title and badge in the cell; once, before it is shown.
    void assemble();

    const std::shared_ptr<platform::ui::ImageView>& iconView() const { return iconView_; }
    const std::shared_ptr<platform::ui::Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<HCBadgeView>& badgeView() const { return badgeView_; }
    const std::optional<std::string>& controllerName() const { return controllerName_; }
    void setControllerName(std::optional<std::string> name) { controllerName_ = std::move(name); }
    const std::function<void()>& createControllerSelector() const { return createControllerSelector_; }
    void setCreateControllerSelector(std::function<void()> action) { createControllerSelector_ = std::move(action); }

    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCFanClubCell"; }

private:
    std::shared_ptr<platform::ui::ImageView> iconView_;
    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<HCBadgeView> badgeView_;
    std::optional<std::string> controllerName_;
    std::function<void()> createControllerSelector_;
};
