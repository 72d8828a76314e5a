#include "dashboard/HCDefaultLeadingCell.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"

namespace {
const bool defaultLeadingCellRegistered = (platform::registerClass<HCDefaultLeadingCell>("HCDefaultLeadingCell"), true);
}  // namespace

HCDefaultLeadingCell::HCDefaultLeadingCell() : HCTableCellHelper(platform::ui::TableViewCellStyle::Default, "DefaultLeading")
{
    headerLabel_ = platform::ui::Label::make();
}

std::shared_ptr<HCImageView> HCDefaultLeadingCell::icon(double x)
{
    const double height = bounds().height();
    auto view = HCImageView::make(platform::ui::Rect(x, (height - kIconSize) / 2, kIconSize, kIconSize));
    contentView()->addSubview(view);
    return view;
}

void HCDefaultLeadingCell::layoutHeader()
{
    const platform::ui::Rect cell = bounds();
    double left = kMargin;
    double right = cell.width() - kMargin;
    if (leftIcon_) {
        left = leftIcon_->frame().maxX() + kMargin;
    }
    if (localIcon_) {
        right = localIcon_->frame().minX() - kMargin;
    }
    headerLabel_->setFrame(platform::ui::Rect(left, 0, std::max(0.0, right - left), cell.height()));
    if (!headerLabel_->superview()) {
        contentView()->addSubview(headerLabel_);
    }
}

void HCDefaultLeadingCell::enableLeftIconViewWithImageUrl(const std::optional<std::string>& url,
                                                          const platform::ui::ImagePtr& defaultImage)
{
    HC_CHECK_MAIN_THREAD();
    if (!leftIcon_) {
        leftIcon_ = icon(kMargin);
    }
    leftIcon_->setDefaultImage(defaultImage);
    leftIcon_->setImageUrl(url);
    layoutHeader();
}

void HCDefaultLeadingCell::populateRightIconsAsComparison(const std::shared_ptr<HCUser>& comparedTo)
{
    HC_CHECK_MAIN_THREAD();
    const double width = bounds().width();
    if (!comparedIcon_) {
        comparedIcon_ = icon(width - kMargin - kIconSize);
        localIcon_ = icon(width - 2 * (kMargin + kIconSize));
    }
    localIcon_->useProfilePictureFromUser(Halcyon::localUser());
    comparedIcon_->useProfilePictureFromUser(comparedTo);
    layoutHeader();
}
