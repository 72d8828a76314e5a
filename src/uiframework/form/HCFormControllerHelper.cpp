#include "uiframework/form/HCFormControllerHelper.h"

#include "core/banners/HCNotificationData.h"
#include "core/resources/HCMissingOverride.h"
#include "core/services/HCService.h"
#include "kernel/resources/HCResourceClassName.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Responder.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"
#include "transport/provider/HCActionRequest.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCWritingFailure.h"

namespace {

// Sends the forms; their replies are read without resource classes of
// their own (the page gets the status and the header).
class HCFormService final : public HCService {
public:
    void populateKnownResources(HCResourceNameMap&) override {}
};

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// At most `bytes` bytes, never ending inside a UTF-8 sequence.
std::string cut(std::string text, size_t bytes)
{
    if (text.size() <= bytes) return text;
    size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

}  // namespace

HCFormControllerHelper::HCFormControllerHelper(std::string nibName) : HCViewController(std::move(nibName)) {}

void HCFormControllerHelper::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    populateViewDataMap(viewDataMap_);
    registerActionsNow();
}

void HCFormControllerHelper::viewDidDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidDisappear(animated);
    if (isSubmitting() && !canReceiveCallbacksNow()) endAllSubmissions();
}

bool HCFormControllerHelper::isBlank(const std::string& text)
{
    return trimmed(text).empty();
}

template <class Hook>
void HCFormControllerHelper::runHook(unsigned submission, Hook hook)
{
    const unsigned outer = currentSubmission_;
    currentSubmission_ = submission;
    hook();
    currentSubmission_ = outer;
}

bool HCFormControllerHelper::onSubmitForm(const platform::ui::ViewPtr& view)
{
    HC_CHECK_MAIN_THREAD();
    if (isSubmitting() && !queuesSubmissions()) return false;
    Queued queued{0, getFormSubmissionUrl(), std::make_shared<HCHttpNestedQueryStringWriter>()};
    if (queued.url.empty()) return false;
    {
        const std::string scopeName = singularResourceName();
        HCISerializer::Scope scope(scopeName.empty() ? nullptr : queued.parameters.get(), scopeName.c_str());
        viewDataMap_.writeFields(view ? view : this->view(), *queued.parameters);
    }
    addHiddenParameters(*queued.parameters);
    queued.submission = ++lastSubmission_;
    inFlight_.insert(queued.submission);
    runHook(queued.submission, [this] { onBeforeFormSubmitted(); });
    if (shouldDismissKeyboardWhenSubmitting()) {
        platform::ui::FirstResponder::resignWithin(*this->view());
    }
    if (sending_ != 0) {
        queued_.push_back(std::move(queued));
        return true;
    }
    return send(queued);
}

bool HCFormControllerHelper::send(const Queued& queued)
{
    if (!service_) service_ = HCService::create<HCFormService>();
    // A submission the provider drops unanswered ends as a failure, without
    // the alert unless it is told wherever the player is and he left.
    const unsigned submission = queued.submission;
    auto [succeeded, failed] = pageRequestDelegates<HCFormControllerHelper>(
        std::static_pointer_cast<HCFormControllerHelper>(platform::self(this)),
        [submission](auto& form, const auto& reply) {
            form._onSubmitSucceeded(submission, platform::as<HCPaginatedSeries>(reply));
        },
        [submission](auto& form, const auto& failure) { form._onSubmitFailed(submission, failure); },
        [submission](auto& form, const auto& failure) {
            form.runHook(submission, [&] { form.tellSubmissionFailure(failure); });
        },
        HCDroppedRequest::Untold,
        tellsFailureWhereverThePlayerIs() ? HCFailureTold::WhereverThePlayerIs : HCFailureTold::WhileShown);
    sending_ = submission;
    auto handle = service_->_performAction(queued.url, queued.parameters.get(), getHTTPMethod(), succeeded, failed,
                                           HCActionRequest::kBannerAlternate,
                                           platform::String::make(getLoadingScreenText()), shouldUseOAuth());
    if (!handle) {
        _onSubmitFailed(submission, nullptr);
        return false;
    }
    if (shouldShowLoadingScreenWhileSubmitting()) showLoadingScreen();
    if (auto button = submitBarButtonItem()) button->setEnabled(false);
    return true;
}

void HCFormControllerHelper::sendNextQueued()
{
    if (sending_ != 0 || queued_.empty()) return;
    const Queued next = std::move(queued_.front());
    queued_.pop_front();
    send(next);
}

bool HCFormControllerHelper::endSubmission(unsigned submission)
{
    if (inFlight_.erase(submission) == 0) return false;
    if (submission == sending_) sending_ = 0;
    if (!isSubmitting()) endAllSubmissions();
    return true;
}

void HCFormControllerHelper::endAllSubmissions()
{
    inFlight_.clear();
    queued_.clear();
    sending_ = 0;
    hideLoadingScreen();
    if (auto button = submitBarButtonItem()) button->setEnabled(true);
}

void HCFormControllerHelper::_onSubmitSucceeded(unsigned submission, const HCPaginatedSeriesPtr& reply)
{
    HC_CHECK_MAIN_THREAD();
    if (!endSubmission(submission)) return;
    runHook(submission, [&] { onFormSubmitted(reply ? reply : HCPaginatedSeries::paginatedSeries()); });
    sendNextQueued();
}

void HCFormControllerHelper::_onSubmitFailed(unsigned submission, const platform::ObjectPtr& failure)
{
    HC_CHECK_MAIN_THREAD();
    if (!endSubmission(submission)) return;
    runHook(submission, [&] { onFormSubmissionFailed(failure); });
    sendNextQueued();
}

void HCFormControllerHelper::tellSubmissionFailure(const platform::ObjectPtr& failure)
{
    const std::string reason = serverMessageOf(failure);
    if (pageIsShown(*this)) {
        showRequestFailureAlert(kFailureAlertTitle, reason.empty() ? failureMessageWithoutReply() : reason,
                                kFailureAlertButton);
        return;
    }
    // Away from the form, the service's text alone would not say what it refused.
    tellWritingFailure({kFailureAlertTitle, notSentBecause(failureMessageWithoutReply(), reason), kFailureAlertButton,
                        failureBannerCategory()});
}

std::string HCFormControllerHelper::serverMessageOf(const platform::ObjectPtr& failure)
{
    auto loader = platform::as<OAuthAPIRequestLoader>(failure);
    if (!loader) return {};
    std::string message;
    if (auto data = loader->data()) message = trimmed(std::string(data->bytes().begin(), data->bytes().end()));
    if (message.empty() && loader->error()) message = loader->error()->localizedDescription();
    return cut(std::move(message), kMaxMessageBytes);
}

std::string HCFormControllerHelper::singularResourceName()
{
    return {};
}

void HCFormControllerHelper::addHiddenParameters(HCHttpNestedQueryStringWriter&) {}

std::string HCFormControllerHelper::getHTTPMethod()
{
    return "POST";
}

std::string HCFormControllerHelper::getFormSubmissionUrl()
{
    HCReportMissingOverride("HCFormControllerHelper", HCClassName(typeid(*this)), "getFormSubmissionUrl");
    return {};
}

std::string HCFormControllerHelper::getLoadingScreenText()
{
    return "Submitting";
}

bool HCFormControllerHelper::shouldUseOAuth()
{
    return true;
}

void HCFormControllerHelper::onFormSubmitted(const HCPaginatedSeriesPtr&) {}

void HCFormControllerHelper::registerActionsNow() {}

void HCFormControllerHelper::populateViewDataMap(HCViewDataMap&) {}

void HCFormControllerHelper::onBeforeFormSubmitted() {}

void HCFormControllerHelper::onFormSubmissionFailed(const platform::ObjectPtr&) {}

bool HCFormControllerHelper::shouldShowLoadingScreenWhileSubmitting()
{
    return true;
}

bool HCFormControllerHelper::shouldDismissKeyboardWhenSubmitting()
{
    return true;
}

bool HCFormControllerHelper::queuesSubmissions()
{
    return false;
}

bool HCFormControllerHelper::tellsFailureWhereverThePlayerIs()
{
    return false;
}

std::string HCFormControllerHelper::failureMessageWithoutReply()
{
    return {};
}

int HCFormControllerHelper::failureBannerCategory()
{
    return HCNotificationCategoryForeground;
}

platform::ui::BarButtonItemPtr HCFormControllerHelper::submitBarButtonItem()
{
    return nullptr;
}
