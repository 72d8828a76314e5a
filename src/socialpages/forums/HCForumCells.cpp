#include "socialpages/forums/HCForumCells.h"

#include <algorithm>

#include "core/images/HCImageLoader.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "socialpages/HCCellSubviews.h"
#include "socialpages/profile/HCProfileController.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCForumThread.h"
#include "social/forums/HCForumTopic.h"

namespace {

using platform::ui::Rect;

constexpr double kForumCellsCellWidth = 320.0;

}  // namespace

HCForumTopicCell::HCForumTopicCell()
    : titleLabel_(platform::ui::Label::make(Rect(40, 0, 260, 44))),
      topicIcon_(platform::ui::ImageView::make(Rect(8, 10, 24, 24)))
{
    setFrame(Rect(0, 0, kForumCellsCellWidth, 44));
}

void HCForumTopicCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {titleLabel_, topicIcon_});
    auto topic = platform::as<HCForumTopic>(resource);
    if (!topic) return;
    titleLabel_->setText(topic->title().value_or(""));
    const bool isForum = topic->resourceId() && !topic->resourceId()->empty();
    topicIcon_->setImage(HCImageLoader::loadImage(isForum ? "HCForumTopicSmall.png" : "HCIconChat.png"));
}

HCForumThreadCell::HCForumThreadCell()
    : titleLabel_(platform::ui::Label::make(Rect(10, 4, 240, 20))),
      stickyLabel_(platform::ui::Label::make(Rect(10, 4, 50, 20))),
      postsCountLabel_(platform::ui::Label::make(Rect(270, 14, 40, 20))),
      lastPostByLabel_(platform::ui::Label::make(Rect(10, 26, 240, 16))),
      favoritedIcon_(platform::ui::ImageView::make(Rect(250, 26, 14, 14))),
      threadStatusIcon_(platform::ui::ImageView::make(Rect(280, 14, 20, 20)))
{
    setFrame(Rect(0, 0, kForumCellsCellWidth, 48));
    stickyLabel_->setText("Sticky");
    favoritedIcon_->setImage(HCImageLoader::loadImage("HCButtonStarFilledSmall.png"));
    threadStatusIcon_->setImage(HCImageLoader::loadImage("HCIconLocked.png"));
}

void HCForumThreadCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {titleLabel_, stickyLabel_, postsCountLabel_, lastPostByLabel_, favoritedIcon_,
                             threadStatusIcon_});
    auto thread = platform::as<HCForumThread>(resource);
    if (!thread) return;
    titleLabel_->setText(thread->title().value_or(""));
    auto frame = titleLabel_->frame();
    const auto sticky = stickyLabel_->frame();
    frame.origin.x = thread->isSticky() ? sticky.origin.x + sticky.size.width : sticky.origin.x;
    frame.size.width = bounds().size.width - frame.origin.x - 40.0;
    titleLabel_->setFrame(frame);
    const auto& author = thread->lastPostAuthor();
    lastPostByLabel_->setText("Last post by " + (author ? author->name().value_or("") : std::string()));
    postsCountLabel_->setText(std::to_string(thread->postCount()));
    postsCountLabel_->setHidden(thread->isLocked());
    threadStatusIcon_->setHidden(!thread->isLocked());
    favoritedIcon_->setHidden(!thread->isSubscribed());
    stickyLabel_->setHidden(!thread->isSticky());
}

HCForumPostCell::HCForumPostCell()
    : contentWrapperView_(platform::ui::View::make(Rect(0, 0, kForumCellsCellWidth, kMinimumHeight))),
      authorPictureView_(HCImageView::make(Rect(5, 5, 44, 44))),
      authorLabel_(platform::ui::Label::make(Rect(56, 4, 120, 18))),
      gameLabel_(platform::ui::Label::make(Rect(176, 4, 112, 18))),
      bodyLabel_(platform::ui::Label::make(Rect(56, 24, 254, 18))),
      authorButton_(platform::ui::Button::buttonWithType(platform::ui::ButtonType::Custom))
{
    setFrame(Rect(0, 0, kForumCellsCellWidth, kMinimumHeight));
    bodyLabel_->setNumberOfLines(0);
    authorButton_->setFrame(authorPictureView_->frame());
    authorButton_->addTarget(this, [this](platform::ui::Control&) { _goToProfile(); },
                             platform::ui::ControlEventTouchUpInside);
}

void HCForumPostCell::_goToProfile()
{
    HCProfileController::showProfileForUser(author_);
}

void HCForumPostCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this,
                      {contentWrapperView_, authorPictureView_, authorLabel_, gameLabel_, bodyLabel_, authorButton_});
    auto post = platform::as<HCForumPost>(resource);
    if (!post) return;
    author_ = post->author();
    const std::string name = author_ ? author_->name().value_or("") : std::string();
    const std::string game = author_ ? author_->lastPlayedGameName().value_or("") : std::string();
    authorLabel_->setText(game.empty() ? name : name + " | ");
    authorLabel_->sizeToFit();
    const auto author = authorLabel_->frame();
    const double gameX = author.origin.x + author.size.width;
    gameLabel_->setText(game);
    gameLabel_->setFrame(Rect(gameX, author.origin.y, std::max(0.0, bounds().size.width - 32.0 - gameX),
                              author.size.height));
    authorPictureView_->useProfilePictureFromUser(author_);
    bodyLabel_->setText(post->body().value_or(""));
    placeBody();
    auto frame = this->frame();
    const auto body = bodyLabel_->frame();
    frame.size.height = std::max(kMinimumHeight, body.origin.y + body.size.height + 4.0);
    setFrame(frame);
}

void HCForumPostCell::placeBody()
{
    const auto author = authorLabel_->frame();
    auto body = bodyLabel_->frame();
    const auto fitted = bodyLabel_->sizeThatFits(platform::ui::Size(body.size.width, 0));
    body.origin.y = author.origin.y + author.size.height + 2.0;
    body.size.height = fitted.height;
    bodyLabel_->setFrame(body);
}

void HCForumPostCell::layoutSubviews()
{
    HCTableCellHelper::layoutSubviews();
    if (bodyLabel_->superview()) placeBody();
}

HCForumSubscribeButtonCell::HCForumSubscribeButtonCell()
    : button_(std::make_shared<platform::ui::Button>(platform::ui::ButtonType::Custom, Rect(10, 5, 300, 34)))
{
    setFrame(Rect(0, 0, kForumCellsCellWidth, 44));
}

void HCForumSubscribeButtonCell::onResourceChanged(const platform::ObjectPtr&)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {button_});
}
