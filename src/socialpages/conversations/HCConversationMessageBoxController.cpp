#include "socialpages/conversations/HCConversationMessageBoxController.h"

#include "platform/runtime/ThreadChecker.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/HCMessageBoxFade.h"

namespace {

constexpr double kWidth = 320.0;

}  // namespace

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

void HCConversationMessageBoxController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::loadView();
    auto box = view();
    box->setFrame(platform::ui::Rect(0, 0, kWidth, kHeight));
    box->setBackgroundColor(platform::ui::Color(0.9137, 0.9137, 0.9137, 1.0));
    messageField_ = HCExpandableSinglelineTextField::make(platform::ui::Rect(6, 3, kWidth - 80, 22));
    messageField_->setMinLines(1);
    messageField_->setMaxLines(5);
    messageField_->textView()->setTag(kBodyTag);
    sendButton_ = platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect);
    sendButton_->setFrame(platform::ui::Rect(kWidth - 68, 6, 62, 31));
    sendButton_->setTitle("Send", platform::ui::ControlStateNormal);
    std::weak_ptr<HCConversationMessageBoxController> weakSelf =
        std::static_pointer_cast<HCConversationMessageBoxController>(platform::self(this));
    sendButton_->addTarget(
        this,
        [weakSelf](auto&) {
            if (auto box = weakSelf.lock()) box->onSubmitForm();
        },
        platform::ui::ControlEventTouchUpInside);
    box->addSubview(messageField_);
    box->addSubview(sendButton_);
}

void HCConversationMessageBoxController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    // The opener's text is offered once: a later appearance does not bring it back.
    if (!initialText_.empty()) messageField()->setText(initialText_);
    initialText_.clear();
    fadeControls(1.0, animated);
    HCFormControllerHelper::viewWillAppear(animated);
}

void HCConversationMessageBoxController::viewWillDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    fadeControls(0.0, animated);
    HCFormControllerHelper::viewWillDisappear(animated);
}

void HCConversationMessageBoxController::fadeControls(double alpha, bool animated)
{
    fadeMessageBoxControls({messageField(), sendButton()}, alpha, animated);
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

void HCConversationMessageBoxController::onFormSubmissionFailed(const platform::ObjectPtr&)
{
    HC_CHECK_MAIN_THREAD();
    messageField()->setText(textsSent_.refused(currentSubmission(), messageField_->text()));
}
