#include "socialpages/invitations/HCInviteHeaderViews.h"

#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Color.h"
#include "platform/ui/Font.h"
#include "socialpages/HCCellSubviews.h"

namespace {

using platform::ui::Rect;

// The header ends a margin below its lowest text.
void fitHeader(const platform::ui::ViewPtr& header, const platform::ui::ViewPtr& lowest, double margin,
               const platform::ui::ViewPtr& pageView)
{
    const auto bottom = header->convertRectFrom(lowest->frame(), lowest->superview()).maxY();
    header->setFrame(Rect(0, 0, pageView->frame().size.width, bottom + margin));
    header->layoutIfNeeded();
}

}  // namespace

HCInviteIconViews::HCInviteIconViews()
    : inviteIcon(HCImageView::make(Rect(15, 15, 57, 57))), inviteIconFrame(platform::ui::ImageView::make(Rect(10, 10, 67, 67)))
{
    if (auto frame = HCImageLoader::loadImage("HCInviteIconFrame.png")) inviteIconFrame->setImage(frame->stretchableImage(21, 19));
    inviteIcon->setUnframed(true);
    inviteIcon->setDefaultImage(HCImageLoader::loadImage("HCDefaultInviteIcon.png"));
    inviteIcon->setShouldScaleImageToFillRect(false);
}

void HCSelectInviteTypeHeaderController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    setView(platform::ui::View::make(Rect(0, 0, 320, 80)));
    enticeLabel_->setNumberOfLines(0);
    view()->addSubview(icon_.inviteIconFrame);
    view()->addSubview(icon_.inviteIcon);
    view()->addSubview(enticeLabel_);
}

void HCSelectInviteTypeHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    fitHeader(view(), enticeLabel_, 10.0, pageView);
}

void HCInviteFriendsHeaderController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    setView(platform::ui::View::make(Rect(0, 0, 320, 120)));
    inviteText_->setFont(platform::ui::Font::systemFontOfSize(11.0));
    inviteText_->setTextColor(platform::ui::Color(0.349, 0.349, 0.349, 1.0));
    inviteText_->setDelegate(std::static_pointer_cast<platform::ui::TextViewDelegate>(
        std::static_pointer_cast<HCInviteFriendsHeaderController>(platform::self(this))));
    view()->addSubview(titleLabel_);
    view()->addSubview(inviteText_);
}

void HCInviteFriendsHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    fitHeader(view(), inviteText_, 10.0, pageView);
}

void HCInviteFriendsHeaderController::setSuggestedMessage(std::string message)
{
    HC_CHECK_MAIN_THREAD();
    suggested_ = std::move(message);
    inviteText_->setText(suggested_);
    hasDefaultText_ = true;
}

void HCInviteFriendsHeaderController::textViewDidBeginEditing(platform::ui::TextView&)
{
    // The player writes a message of their own rather than editing ours.
    if (hasDefaultText_) inviteText_->setText("");
}

void HCInviteFriendsHeaderController::textViewDidEndEditing(platform::ui::TextView&)
{
    const auto text = inviteText_->text();
    hasDefaultText_ = text.empty() || text == suggested_;
    if (hasDefaultText_) inviteText_->setText(suggested_);
}

void HCInviteFriendsHeaderController::touchesEnded(const platform::ui::TouchSet&, const platform::ui::Event&)
{
    HC_CHECK_MAIN_THREAD();
    inviteText_->resignFirstResponder();
}

HCSelectInviteTypeCell::HCSelectInviteTypeCell()
    : iconView_(platform::ui::ImageView::make(Rect(8, 8, 28, 28))),
      titleLabel_(platform::ui::Label::make(Rect(44, 4, 200, 20))),
      amountSelectedLabel_(platform::ui::Label::make(Rect(44, 24, 200, 16)))
{
    setFrame(Rect(0, 0, 320, 44));
}

void HCSelectInviteTypeCell::setUp(const std::string& title, const std::optional<std::string>& iconName,
                                   std::function<void()> onTap)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {titleLabel_, iconView_, amountSelectedLabel_});
    titleLabel_->setText(title);
    iconView_->setImage(iconName ? HCImageLoader::loadImage(*iconName) : nullptr);
    createControllerSelector = std::move(onTap);
    setSelectedCount(0);
}

void HCSelectInviteTypeCell::setSelectedCount(size_t count)
{
    amountSelectedLabel_->setText(std::to_string(count) + " Friends Selected");
}
