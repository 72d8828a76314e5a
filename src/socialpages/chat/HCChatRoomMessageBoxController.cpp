#include "socialpages/chat/HCChatRoomMessageBoxController.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Keyboard.h"
#include "social/chat/HCChatMessage.h"
#include "socialpages/HCMessageBoxFade.h"

namespace {

using platform::ui::Rect;

constexpr double kButtonShift = 3.0;

}  // namespace

HCChatRoomMessageBoxController::~HCChatRoomMessageBoxController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void HCChatRoomMessageBoxController::loadView()
{
    auto root = platform::ui::View::make(Rect(0, 0, 320, kHeight));
    backgroundView_ = platform::ui::View::make(Rect(0, 0, 320, kHeight));
    textEntryField_ = platform::ui::TextField::make(Rect(40, 4, 210, 35));
    textEntryField_->setTag(kMessageTag);
    hideKeyboardButton_ = std::make_shared<platform::ui::Button>(platform::ui::ButtonType::Custom, Rect(5, 6, 30, 30));
    hideKeyboardButton_->setImage(HCImageLoader::loadImage("HCKeyboardUp.png"), platform::ui::ControlStateNormal);
    sendButton_ = std::make_shared<platform::ui::Button>(platform::ui::ButtonType::RoundedRect, Rect(255, 6, 60, 30));
    sendButton_->setTitle(std::string(kSendTitle), platform::ui::ControlStateNormal);
    root->addSubview(backgroundView_);
    root->addSubview(textEntryField_);
    root->addSubview(hideKeyboardButton_);
    root->addSubview(sendButton_);
    setView(root);
}

void HCChatRoomMessageBoxController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCFormControllerHelper::viewDidLoad();
    view()->setFrame(Rect(0, 0, Halcyon::getDashboardBounds().width(), kHeight));
    auto field = textEntryField_->frame();
    textEntryField_->setFrame(Rect(field.origin.x, field.origin.y - 2.0, field.size.width, 35.0));
    view()->setBackgroundColor(platform::ui::Color::clearColor());
    setKeyboardShown(false);
    std::weak_ptr<HCChatRoomMessageBoxController> weakSelf =
        std::static_pointer_cast<HCChatRoomMessageBoxController>(platform::self(this));
    sendButton_->addTarget(
        this, [weakSelf](auto&) { if (auto box = weakSelf.lock()) box->sendLine(); },
        platform::ui::ControlEventTouchUpInside);
    hideKeyboardButton_->addTarget(
        this, [weakSelf](auto&) { if (auto box = weakSelf.lock()) box->toggleKeyboardNow(); },
        platform::ui::ControlEventTouchUpInside);
}

std::string HCChatRoomMessageBoxController::singularResourceName()
{
    return HCChatMessage().getResourceName();
}

void HCChatRoomMessageBoxController::populateViewDataMap(HCViewDataMap& map)
{
    map.addFieldReference("message", kMessageTag);
}

void HCChatRoomMessageBoxController::sendLine()
{
    HC_CHECK_MAIN_THREAD();
    if (isBlank(textEntryField_->text())) {
        textEntryField_->resignFirstResponder();
        return;
    }
    onSubmitForm();
}

void HCChatRoomMessageBoxController::onBeforeFormSubmitted()
{
    linesSent_.sent(currentSubmission(), textEntryField_->text());
    textEntryField_->setText("");
}

void HCChatRoomMessageBoxController::onFormSubmitted(const HCPaginatedSeriesPtr&)
{
    linesSent_.delivered(currentSubmission());
}

std::string HCChatRoomMessageBoxController::failureMessageWithoutReply()
{
    return linesSent_.notSentMessage(currentSubmission());
}

void HCChatRoomMessageBoxController::onFormSubmissionFailed(const platform::ObjectPtr&)
{
    HC_CHECK_MAIN_THREAD();
    textEntryField_->setText(linesSent_.refused(currentSubmission(), textEntryField_->text()));
}

void HCChatRoomMessageBoxController::toggleKeyboardNow()
{
    HC_CHECK_MAIN_THREAD();
    if (isKeyboardShown()) {
        textEntryField_->resignFirstResponder();
    } else {
        textEntryField_->becomeFirstResponder();
    }
}

void HCChatRoomMessageBoxController::fadeControls(double alpha, bool animated)
{
    fadeMessageBoxControls({textEntryField_, hideKeyboardButton_, backgroundView_}, alpha, animated);
}

void HCChatRoomMessageBoxController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    view();
    fadeControls(1.0, animated);
    HCFormControllerHelper::viewWillAppear(animated);
    auto& center = platform::NotificationCenter::defaultCenter();
    center.removeObserver(this);
    std::weak_ptr<HCChatRoomMessageBoxController> weakSelf =
        std::static_pointer_cast<HCChatRoomMessageBoxController>(platform::self(this));
    center.addObserver(this, platform::ui::KeyboardWillShowNotification, [weakSelf](const auto&) {
        if (auto box = weakSelf.lock()) box->keyboardWillShow();
    });
    center.addObserver(this, platform::ui::KeyboardWillHideNotification, [weakSelf](const auto&) {
        if (auto box = weakSelf.lock()) box->keyboardWillHide();
    });
}

void HCChatRoomMessageBoxController::viewWillDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    fadeControls(0.0, animated);
    platform::NotificationCenter::defaultCenter().removeObserver(this);
    HCFormControllerHelper::viewWillDisappear(animated);
}

void HCChatRoomMessageBoxController::keyboardWillShow()
{
    if (isKeyboardShown()) return;
    hideKeyboardButton_->setImage(HCImageLoader::loadImage("HCKeyboardDown.png"), platform::ui::ControlStateNormal);
    auto frame = hideKeyboardButton_->frame();
    frame.origin.y += kButtonShift;
    hideKeyboardButton_->setFrame(frame);
    setKeyboardShown(true);
}

void HCChatRoomMessageBoxController::keyboardWillHide()
{
    if (!isKeyboardShown()) return;
    hideKeyboardButton_->setImage(HCImageLoader::loadImage("HCKeyboardUp.png"), platform::ui::ControlStateNormal);
    auto frame = hideKeyboardButton_->frame();
    frame.origin.y -= kButtonShift;
    hideKeyboardButton_->setFrame(frame);
    setKeyboardShown(false);
}
