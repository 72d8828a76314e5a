#pragma once
// The row a dashboard page puts first in a section (cell "DefaultLeading"):
// a header text, optionally an icon on the left (an image at a URL, with a
// picture shown until it arrives), and optionally, on the right, the local
// player's picture beside the picture of the player compared to.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCUser;

class HCDefaultLeadingCell : public HCTableCellHelper {
public:
    static constexpr double kIconSize = 32;
    static constexpr double kMargin = 6;

    HCDefaultLeadingCell();

    const std::shared_ptr<platform::ui::Label>& headerLabel() const { return headerLabel_; }
    void enableLeftIconViewWithImageUrl(const std::optional<std::string>& url, const platform::ui::ImagePtr& defaultImage);
    // The local player's picture, then `comparedTo`'s, at the right edge.
    void populateRightIconsAsComparison(const std::shared_ptr<HCUser>& comparedTo);

    const std::shared_ptr<HCImageView>& leftIconView() const { return leftIcon_; }
    const std::shared_ptr<HCImageView>& localPlayerIconView() const { return localIcon_; }
    const std::shared_ptr<HCImageView>& comparedPlayerIconView() const { return comparedIcon_; }

    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCDefaultLeadingCell"; }

private:
    std::shared_ptr<HCImageView> icon(double x);
    void layoutHeader();

    std::shared_ptr<platform::ui::Label> headerLabel_;
    std::shared_ptr<HCImageView> leftIcon_;
    std::shared_ptr<HCImageView> localIcon_;
    std::shared_ptr<HCImageView> comparedIcon_;
};
