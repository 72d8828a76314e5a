#pragma once
// A category row of a discovery page ("GameDiscoveryCategory"): its icon in
// a frame, its name and two lines of text, and a disclosure sign of the
// discovery pages' own. It draws its own grey band with a divider line
// above and below; in landscape the icon is wider.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCGameDiscoveryCategoryCell : public HCTableCellHelper {
public:
    static constexpr double kHeight = 80;
    static constexpr const char* kDisclosureImageName = "HCCustomDisclosure.png";
    static constexpr const char* kLargeScreenDisclosureImageName = "HCCustomDisclosureIPad.png";
    HCGameDiscoveryCategoryCell();

    const std::shared_ptr<HCImageView>& iconView() const { return iconView_; }
    const platform::ui::ImageViewPtr& iconFrame() const { return iconFrame_; }
    const platform::ui::ImageViewPtr& disclosureView() const { return disclosureView_; }
    const platform::ui::ViewPtr& textContentView() const { return textContentView_; }
    const platform::ui::ImageViewPtr& topDividerView() const { return topDividerView_; }
    const platform::ui::ImageViewPtr& bottomDividerView() const { return bottomDividerView_; }

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    void layoutSubviews() override;
    bool hasConstantHeight() const override { return true; }
    bool wantsToConfigureSelf() const override { return true; }
    std::string kindName() const override { return "HCGameDiscoveryCategoryCell"; }

private:
    void showBands();

    std::shared_ptr<HCImageView> iconView_;
    platform::ui::ImageViewPtr iconFrame_;
    platform::ui::ImageViewPtr disclosureView_;
    platform::ui::ViewPtr textContentView_;
    platform::ui::ImageViewPtr topDividerView_;
    platform::ui::ImageViewPtr bottomDividerView_;
    std::shared_ptr<platform::ui::Label> nameLabel_;
    std::shared_ptr<platform::ui::Label> subtextLabel_;
    std::shared_ptr<platform::ui::Label> secondaryTextLabel_;
};
