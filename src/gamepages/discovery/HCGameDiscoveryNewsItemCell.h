#pragma once
// A news row of a discovery page ("GameDiscoveryNewsItem"): icon in the
// discovery pages' icon frame, title and subtitle.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCGameDiscoveryNewsItemCell : public HCTableCellHelper {
public:
    static constexpr double kHeight = 60;
    HCGameDiscoveryNewsItemCell();

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCGameDiscoveryNewsItemCell"; }
    const platform::ui::ImageViewPtr& iconFrame() const { return iconFrame_; }

private:
    platform::ui::ImageViewPtr iconFrame_;
    std::shared_ptr<HCImageView> iconView_;
    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<platform::ui::Label> subtitleLabel_;
};
