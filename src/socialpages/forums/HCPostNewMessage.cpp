#include "socialpages/forums/HCPostNewMessage.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/form/HCTextsInFlight.h"

namespace {

constexpr double kSubjectHeight = 40.0;
constexpr double kBodyTop = 5.0;

void showIncomplete(const std::string& message)
{
    platform::ui::AlertView::make("Incomplete", message, {}, std::string("Ok"))->show();
}

}  // namespace

std::shared_ptr<HCPostNewMessage> HCPostNewMessage::postNewMessageInTopic(const HCForumTopicPtr& topic)
{
    auto form = HCControllerLoader::load<HCPostNewMessage>("PostNewMessage");
    if (!form) return nullptr;
    form->setTopic(topic);
    form->toggleSubjectView(true);
    return form;
}

std::shared_ptr<HCPostNewMessage> HCPostNewMessage::postNewMessageInThread(const HCForumThreadPtr& thread,
                                                                           const HCForumTopicPtr& topic)
{
    auto form = HCControllerLoader::load<HCPostNewMessage>("PostNewMessage");
    if (!form) return nullptr;
    form->setTopic(topic);
    form->setThread(thread);
    form->toggleSubjectView(false);
    return form;
}

HCPostNewMessage::HCPostNewMessage()
    : subjectView_(platform::ui::View::make(platform::ui::Rect(0, 0, 320, kSubjectHeight))),
      bodyView_(platform::ui::View::make(platform::ui::Rect(0, kSubjectHeight, 320, 200 - kSubjectHeight))),
      subjectField_(platform::ui::TextField::make(platform::ui::Rect(5, 5, 310, kSubjectHeight - 10))),
      bodyField_(platform::ui::TextView::make(platform::ui::Rect(0, 0, 320, 200 - kSubjectHeight)))
{
}

void HCPostNewMessage::toggleSubjectView(bool show)
{
    HC_CHECK_MAIN_THREAD();
    if (subjectView_->isHidden() != show) return;
    auto frame = bodyView_->frame();
    const double shift = subjectView_->frame().size.height - kBodyTop;
    subjectView_->setHidden(!show);
    if (show) {
        frame.origin.y = subjectView_->frame().size.height;
        frame.size.height -= shift;
    } else {
        frame.origin.y = kBodyTop;
        frame.size.height += shift;
    }
    bodyView_->setFrame(frame);
}

void HCPostNewMessage::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    subjectView_->addSubview(subjectField_);
    bodyView_->addSubview(bodyField_);
    view()->addSubview(subjectView_);
    view()->addSubview(bodyView_);
    std::weak_ptr<HCPostNewMessage> weakSelf = std::static_pointer_cast<HCPostNewMessage>(platform::self(this));
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withTitle(
        "Post", platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
            if (auto form = weakSelf.lock()) form->submit();
        }));
    HCFormControllerHelper::viewDidLoad();
}

void HCPostNewMessage::viewDidAppear(bool animated)
{
    HCFormControllerHelper::viewDidAppear(animated);
    setTitle(thread_ ? "Reply" : "New Post");
    if (thread_) {
        bodyField_->becomeFirstResponder();
    } else {
        subjectField_->becomeFirstResponder();
    }
}

bool HCPostNewMessage::submit()
{
    HC_CHECK_MAIN_THREAD();
    if (!thread_ && isBlank(subjectField_->text())) {
        showIncomplete("Please enter a subject and try again.");
        return false;
    }
    if (isBlank(bodyField_->text())) {
        showIncomplete("Please enter a message body and try again.");
        return false;
    }
    return onSubmitForm();
}

platform::ui::BarButtonItemPtr HCPostNewMessage::submitBarButtonItem()
{
    return navigationItem()->rightBarButtonItem();
}

std::string HCPostNewMessage::getFormSubmissionUrl()
{
    if (thread_) return "discussions/" + thread_->resourceId().value_or("") + "/posts.xml";
    return "topics/" + (topic_ ? topic_->resourceId().value_or("") : std::string()) + "/discussions.xml";
}

void HCPostNewMessage::addHiddenParameters(HCHttpNestedQueryStringWriter& parameters)
{
    HCISerializer::Scope scope(&parameters, thread_ ? "post" : "discussion");
    if (!thread_) parameters.io("subject", subjectField_->text());
    parameters.io("body", bodyField_->text());
}

std::string HCPostNewMessage::failureMessageWithoutReply()
{
    // A new discussion is known by its subject, a reply by its body.
    return HCTextsInFlight::notSentMessageFor(thread_ ? bodyField_->text() : subjectField_->text());
}

void HCPostNewMessage::onFormSubmitted(const HCPaginatedSeriesPtr&)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    if (!navigation) return;
    auto stack = navigation->viewControllers();
    if (stack.size() >= 2) {
        if (auto below = std::dynamic_pointer_cast<HCForumThreadViewController>(stack[stack.size() - 2]))
            below->reloadDataFromServer();
    }
    navigation->popViewController(true);
}
