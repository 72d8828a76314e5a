#include "socialpages/conversations/HCConversationMessageBoxController.h"

#include "platform/foundation/Values.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "social/conversations/HCConversationService.h"
#include "uiframework/form/HCFormControllerHelper.h"

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
    HCViewController::viewWillAppear(animated);
}

void HCConversationMessageBoxController::onSubmitForm()
{
    HC_CHECK_MAIN_THREAD();
    const std::string text = messageField()->text();
    messageField_->resignFirstResponder();
    if (text.empty() || !conversationId_) return;
    messageField_->setText("");
    auto self = platform::self(this);
    HCConversationService::postMessage(text, conversationId_, HCDelegate(),
                                       HCDelegate(self, &HCConversationMessageBoxController::_sendFailed,
                                                  std::static_pointer_cast<platform::Object>(platform::String::make(text))));
}

void HCConversationMessageBoxController::_sendFailed(std::shared_ptr<platform::Object> failure,
                                                     std::shared_ptr<platform::Object> sentText)
{
    HC_CHECK_MAIN_THREAD();
    auto text = platform::as<platform::String>(sentText);
    if (text) {
        const std::string typedSince = messageField()->text();
        messageField_->setText(typedSince.empty() ? text->value() : text->value() + " " + typedSince);
    }
    platform::ui::AlertView::make(HCFormControllerHelper::kFailureAlertTitle,
                                  HCFormControllerHelper::serverMessageOf(failure), {},
                                  HCFormControllerHelper::kFailureAlertButton)
        ->show();
}
