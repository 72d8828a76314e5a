#pragma once
// A category row of a discovery page ("GameDiscoveryCategory"): its icon in
// a frame, its name and two lines of text. It draws its own background.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCGameDiscoveryCategoryCell : public HCTableCellHelper {
public:
    static constexpr double kHeight = 80;
    HCGameDiscoveryCategoryCell();

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    bool wantsToConfigureSelf() const override { return true; }
    std::string kindName() const override { return "HCGameDiscoveryCategoryCell"; }

private:
    std::shared_ptr<HCImageView> iconView_;
    std::shared_ptr<platform::ui::Label> nameLabel_;
    std::shared_ptr<platform::ui::Label> subtextLabel_;
    std::shared_ptr<platform::ui::Label> secondaryTextLabel_;
};
