#include "socialpages/conversations/HCConversationMessageBoxController.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/HCMessageBoxFade.h"

namespace {

using platform::ui::Rect;

// The box as laid out for a phone; a large screen widens it, and the field,
// its border and Send follow the right edge.
constexpr double kPhoneWidth = 320.0;
constexpr double kPhoneFieldHeight = 22.0;

}  // namespace

HCConversationMessageBoxController::~HCConversationMessageBoxController()
{
    platform::Thread::mainThread()->runLoop()->cancelDelayed(this);
}

const std::shared_ptr<HCExpandableSinglelineTextField>& HCConversationMessageBoxController::messageField()
{
    view();
    return messageField_;
}

const std::shared_ptr<platform::ui::Button>& HCConversationMessageBoxController::sendButton()
{
    view();
    return sendButton_;
}

const std::shared_ptr<platform::ui::ImageView>& HCConversationMessageBoxController::backgroundView()
{
    view();
    return backgroundView_;
}

const std::shared_ptr<platform::ui::ImageView>& HCConversationMessageBoxController::backgroundBoarderView()
{
    view();
    return backgroundBoarderView_;
}

void HCConversationMessageBoxController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::loadView();
    auto box = view();
    box->setFrame(Rect(0, 0, kPhoneWidth, kHeight));
    backgroundView_ = platform::ui::ImageView::make(Rect(0, 0, kPhoneWidth, kHeight));
    backgroundView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth |
                                         platform::ui::AutoresizingFlexibleHeight);
    backgroundView_->setImage(HCImageLoader::loadImage(kBackgroundImage));
    backgroundBoarderView_ = platform::ui::ImageView::make(Rect(3, 3, kPhoneWidth - 74, kHeight - 6));
    backgroundBoarderView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth |
                                                platform::ui::AutoresizingFlexibleHeight);
    backgroundView_->addSubview(backgroundBoarderView_);
    messageField_ = HCExpandableSinglelineTextField::make(Rect(6, 6, kPhoneWidth - 80, 31));
    messageField_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
    messageField_->textView()->setTag(kBodyTag);
    sendButton_ = platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect);
    sendButton_->setFrame(Rect(kPhoneWidth - 68, 6, 62, 31));
    sendButton_->setAutoresizingMask(platform::ui::AutoresizingFlexibleLeftMargin);
    sendButton_->setTitle("Send", platform::ui::ControlStateNormal);
    std::weak_ptr<HCConversationMessageBoxController> weakSelf =
        std::static_pointer_cast<HCConversationMessageBoxController>(platform::self(this));
    sendButton_->addTarget(
        this,
        [weakSelf](auto&) {
            if (auto box = weakSelf.lock()) box->onSubmitForm();
        },
        platform::ui::ControlEventTouchUpInside);
    box->addSubview(backgroundView_);
    box->addSubview(messageField_);
    box->addSubview(sendButton_);

    if (Halcyon::isLargeScreen()) {
        box->setFrame(Rect(0, 0, Halcyon::getDashboardBounds().width(), kHeight));
    } else {
        box->setBackgroundColor(platform::ui::Color(0.9137, 0.9137, 0.9137, 1.0));
        auto field = messageField_->frame();
        field.origin.y = 3;
        field.size.height = kPhoneFieldHeight;
        messageField_->setFrame(field);
    }
    if (auto border = HCImageLoader::loadImage(kBorderImage)) {
        backgroundBoarderView_->setImage(border->stretchableImage(static_cast<int>(border->size().width / 2),
                                                                  static_cast<int>(border->size().height / 2)));
    }
    messageField_->setMinLines(1);
    messageField_->setMaxLines(5);
}

void HCConversationMessageBoxController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    fadeControls(1.0, animated);
    std::weak_ptr<HCConversationMessageBoxController> weakSelf =
        std::static_pointer_cast<HCConversationMessageBoxController>(platform::self(this));
    platform::Thread::mainThread()->runLoop()->postAfter(
        kInitialTextDelay,
        [weakSelf] {
            if (auto box = weakSelf.lock()) box->putInitialText();
        },
        this);
    HCFormControllerHelper::viewWillAppear(animated);
}

void HCConversationMessageBoxController::putInitialText()
{
    HC_CHECK_MAIN_THREAD();
    if (initialText_.empty() || !messageField()->text().empty()) return;
    messageField_->setText(initialText_);
}

void HCConversationMessageBoxController::viewWillDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    platform::Thread::mainThread()->runLoop()->cancelDelayed(this);
    fadeControls(0.0, animated);
    HCFormControllerHelper::viewWillDisappear(animated);
}

void HCConversationMessageBoxController::fadeControls(double alpha, bool animated)
{
    fadeMessageBoxControls({messageField(), sendButton(), backgroundView()}, alpha, animated);
}

void HCConversationMessageBoxController::onSubmitForm()
{
    HC_CHECK_MAIN_THREAD();
    if (isBlank(messageField()->text()) || !conversationId_) {
        messageField_->resignFirstResponder();
        return;
    }
    HCFormControllerHelper::onSubmitForm();
}

std::string HCConversationMessageBoxController::singularResourceName()
{
    return HCForumPost().getResourceName();
}

std::string HCConversationMessageBoxController::getFormSubmissionUrl()
{
    return conversationId_ ? "discussions/" + *conversationId_ + "/posts.xml" : std::string();
}

void HCConversationMessageBoxController::populateViewDataMap(HCViewDataMap& map)
{
    map.addFieldReference("body", kBodyTag);
}

void HCConversationMessageBoxController::onBeforeFormSubmitted()
{
    textsSent_.sent(currentSubmission(), messageField_->text());
    messageField_->setText("");
    messageField_->resignFirstResponder();
}

void HCConversationMessageBoxController::onFormSubmitted(const HCPaginatedSeriesPtr&)
{
    textsSent_.delivered(currentSubmission());
}

std::string HCConversationMessageBoxController::failureMessageWithoutReply()
{
    return textsSent_.notSentMessage(currentSubmission());
}

void HCConversationMessageBoxController::onFormSubmissionFailed(const platform::ObjectPtr&)
{
    HC_CHECK_MAIN_THREAD();
    messageField()->setText(textsSent_.refused(currentSubmission(), messageField_->text()));
}
