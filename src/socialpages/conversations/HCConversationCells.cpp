#include "socialpages/conversations/HCConversationCells.h"

#include <algorithm>

#include "core/images/HCImageLoader.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/runtime/ThreadChecker.h"
#include "socialpages/HCCellSubviews.h"
#include "platform/ui/TextMetrics.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/profile/HCProfileController.h"

namespace {

using platform::ui::Rect;

constexpr double kConversationCellsCellWidth = 320.0;
constexpr double kBubbleMargin = 28.0;
constexpr double kInset = 8.0;

std::shared_ptr<platform::ui::ImageView> bubble(const std::string& imageName)
{
    auto view = platform::ui::ImageView::make(Rect(0, 4, 0, 0));
    if (auto image = HCImageLoader::loadImage(imageName)) view->setImage(image->stretchableImage(8, 16));
    view->setContentMode(platform::ui::ContentMode::ScaleToFill);
    return view;
}

}  // namespace

HCConversationCell::HCConversationCell()
    : authorPictureView_(HCImageView::make(Rect(14, 8, 38, 38))),
      authorLabel_(platform::ui::Label::make(Rect(0, 8, 100, 16))),
      bodyLabel_(platform::ui::Label::make(Rect(0, 26, 100, 25))),
      dateLabel_(platform::ui::Label::make(Rect(0, 8, 120, 16))),
      greenBubbleView_(bubble("HCIMBubbleGreen.png")),
      greyBubbleView_(bubble("HCIMBubbleGrey.png")),
      arrowView_(platform::ui::ImageView::make(Rect(0, 16, 10, 14))),
      authorButton_(platform::ui::Button::buttonWithType(platform::ui::ButtonType::Custom))
{
    setFrame(Rect(0, 0, kConversationCellsCellWidth, kMinimumHeight));
    bodyLabel_->setNumberOfLines(0);
    arrowView_->setImage(HCImageLoader::loadImage("HCIMBubbleArrow.png"));
    authorButton_->addTarget(this, [this](platform::ui::Control&) { clickedAuthorProfileView(); },
                             platform::ui::ControlEventTouchUpInside);
}

void HCConversationCell::clickedAuthorProfileView()
{
    HCProfileController::showProfileForUser(author_);
}

void HCConversationCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {greenBubbleView_, greyBubbleView_, arrowView_, authorPictureView_, authorLabel_,
                              dateLabel_, bodyLabel_, authorButton_});
    auto post = platform::as<HCForumPost>(resource);
    if (!post) return;
    author_ = post->author();
    authorLabel_->setText((author_ ? author_->name().value_or("") : std::string()) + " | ");
    authorLabel_->sizeToFit();
    dateLabel_->setText(post->date() ? platform::DateFormatter::normalFormatter().stringFromDate(*post->date())
                                     : std::string());
    authorPictureView_->useProfilePictureFromUser(author_);

    const double width = bounds().width();
    const double pictureWidth = authorPictureView_->frame().width();
    const double bubbleWidth = std::max(0.0, width - pictureWidth - kBubbleMargin - 7.0);
    const bool mine = author_ && author_->isLocalUser();
    bubbleView_ = mine ? greenBubbleView_ : greyBubbleView_;
    greenBubbleView_->setHidden(!mine);
    greyBubbleView_->setHidden(mine);
    auto bubbleFrame = Rect(mine ? 7.0 : pictureWidth + kBubbleMargin, 4, bubbleWidth, 0);
    auto picture = authorPictureView_->frame();
    picture.origin.x = mine ? width - pictureWidth - 14.0 : 14.0;
    authorPictureView_->setFrame(picture);
    authorButton_->setFrame(picture);
    auto arrow = arrowView_->frame();
    arrow.origin.x = mine ? bubbleFrame.origin.x + bubbleFrame.size.width - 1.0 : bubbleFrame.origin.x - arrow.size.width + 2.0;
    arrowView_->setFrame(arrow);
    arrowView_->setTransform(mine ? platform::ui::AffineTransform::quarterTurns(2) :
                                    platform::ui::AffineTransform::identity());

    auto author = authorLabel_->frame();
    author.origin.x = bubbleFrame.origin.x + kInset;
    authorLabel_->setFrame(author);
    auto date = dateLabel_->frame();
    date.origin.x = author.origin.x + author.size.width;
    dateLabel_->setFrame(date);
    bodyLabel_->setText(post->body().value_or(""));
    auto body = bodyLabel_->frame();
    body.origin.x = bubbleFrame.origin.x + kInset;
    body.size.width = std::max(0.0, bubbleWidth - 2 * kInset);
    const auto text = platform::ui::sizeWithFont(bodyLabel_->text(), *bodyLabel_->font(),
                                                 platform::ui::Size(body.size.width, 100000),
                                                 platform::ui::LineBreakMode::WordWrap);
    body.size.height = std::max(25.0, text.height);
    bodyLabel_->setFrame(body);
    const double height = std::max(kMinimumHeight, body.origin.y + text.height + 14.0);
    bubbleFrame.size.height = height - 8.0;
    bubbleView_->setFrame(bubbleFrame);
    auto frame = this->frame();
    frame.size.height = height;
    setFrame(frame);
}

HCOnlineStatusCell::HCOnlineStatusCell() : textLabel_(platform::ui::Label::make(Rect(10, 0, 300, 30)))
{
    setFrame(Rect(0, 0, kConversationCellsCellWidth, 30));
    textLabel_->setTextAlignment(platform::ui::TextAlignment::Center);
}

void HCOnlineStatusCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {textLabel_});
    status_ = platform::as<HCOnlineStatus>(resource);
    if (!status_) return;
    const auto& user = status_->user();
    textLabel_->setText((user ? user->name().value_or("") : std::string()) + " is " +
                        (status_->isOnline() ? "ONLINE" : "offline"));
}
