#include "transport/http/NetHTTPRequest.h"

#include "platform/net/URLTransfer.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Thread.h"
#include "transport/http/NetStringEncoding.h"

namespace {
// The thread on which transfers end and the completion step runs.
const std::shared_ptr<platform::Thread>& requestThread()
{
    static const std::shared_ptr<platform::Thread> thread = platform::Thread::start("NetHTTPRequest");
    return thread;
}
}  // namespace

NetHTTPRequest::NetHTTPRequest(std::string url) : url_(std::move(url)) {}

std::shared_ptr<NetHTTPRequest> NetHTTPRequest::requestWithURL(const std::string& url)
{
    return std::make_shared<NetHTTPRequest>(url);
}

void NetHTTPRequest::setTimeOutSeconds(double seconds)
{
    std::lock_guard lock(mutex_);
    timeOutSeconds_ = seconds;
}

double NetHTTPRequest::timeOutSeconds() const
{
    std::lock_guard lock(mutex_);
    return timeOutSeconds_;
}

void NetHTTPRequest::setDeadlineSeconds(double seconds)
{
    std::lock_guard lock(mutex_);
    deadlineSeconds_ = seconds;
}

double NetHTTPRequest::deadlineSeconds() const
{
    std::lock_guard lock(mutex_);
    return deadlineSeconds_;
}

void NetHTTPRequest::setNumberOfTimesToRetryOnTimeout(int times)
{
    std::lock_guard lock(mutex_);
    retriesOnTimeout_ = std::max(0, times);
}

int NetHTTPRequest::numberOfTimesToRetryOnTimeout() const
{
    std::lock_guard lock(mutex_);
    return retriesOnTimeout_;
}

void NetHTTPRequest::setDelegate(const std::shared_ptr<NetHTTPRequestDelegate>& delegate)
{
    std::lock_guard lock(mutex_);
    delegate_ = delegate;
}

std::shared_ptr<NetHTTPRequestDelegate> NetHTTPRequest::delegate() const
{
    std::lock_guard lock(mutex_);
    return delegate_.lock();
}

void NetHTTPRequest::setRequestMethod(std::string method)
{
    std::lock_guard lock(mutex_);
    method_ = std::move(method);
}

std::string NetHTTPRequest::requestMethod() const
{
    std::lock_guard lock(mutex_);
    return method_;
}

void NetHTTPRequest::addRequestHeader(const std::string& name, std::string value)
{
    std::lock_guard lock(mutex_);
    requestHeaders_.set(name, std::move(value));
}

platform::HttpHeaders NetHTTPRequest::requestHeaders() const
{
    std::lock_guard lock(mutex_);
    return requestHeaders_;
}

void NetHTTPRequest::setPostBody(std::vector<uint8_t> body)
{
    std::lock_guard lock(mutex_);
    postBody_ = std::move(body);
}

std::vector<uint8_t> NetHTTPRequest::postBody() const
{
    std::lock_guard lock(mutex_);
    return postBody_;
}

void NetHTTPRequest::buildPostBody() {}

int NetHTTPRequest::responseEncoding() const
{
    std::lock_guard lock(mutex_);
    auto contentType = response_.headers.value("Content-Type");
    return contentType ? netStringEncodingForContentType(*contentType) : kNetNoStringEncoding;
}

std::vector<uint8_t> NetHTTPRequest::responseData() const
{
    std::lock_guard lock(mutex_);
    return response_.body;
}

int NetHTTPRequest::responseStatusCode() const
{
    std::lock_guard lock(mutex_);
    return response_.statusCode;
}

platform::HttpHeaders NetHTTPRequest::responseHeaders() const
{
    std::lock_guard lock(mutex_);
    return response_.headers;
}

std::shared_ptr<platform::NetError> NetHTTPRequest::error() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

bool NetHTTPRequest::isInProgress() const
{
    std::lock_guard lock(mutex_);
    return inProgress_;
}

std::shared_ptr<NetHTTPRequest> NetHTTPRequest::copy() const
{
    auto c = std::make_shared<NetHTTPRequest>(url_);
    copySettingsTo(*c);
    return c;
}

void NetHTTPRequest::copySettingsTo(NetHTTPRequest& target) const
{
    std::scoped_lock lock(mutex_, target.mutex_);
    target.method_ = method_;
    target.requestHeaders_ = requestHeaders_;
    target.postBody_ = postBody_;
    target.timeOutSeconds_ = timeOutSeconds_;
    target.deadlineSeconds_ = deadlineSeconds_;
    target.delegate_ = delegate_;
}

void NetHTTPRequest::startAsynchronous()
{
    double deadline = 0;
    {
        std::lock_guard lock(mutex_);
        if (inProgress_) return;
        inProgress_ = true;
        timeoutsRetried_ = 0;
        startedAt_ = platform::Clock::currentTime();
        deadline = deadlineSeconds_;
        response_ = platform::URLResponse();
        error_ = nullptr;
    }
    buildPostBody();
    send(deadline);
}

void NetHTTPRequest::send(double deadlineSeconds)
{
    platform::URLRequest request;
    {
        std::lock_guard lock(mutex_);
        request.url = url_;
        request.method = method_;
        request.headers = requestHeaders_;
        request.body = postBody_;
        request.timeoutSeconds = timeOutSeconds_;
    }
    request.deadlineSeconds = deadlineSeconds;
    auto self = platform::self(this);
    auto transfer = platform::URLTransfer::start(std::move(request), requestThread()->runLoop(),
                                                 [self](const platform::URLResult& result) { self->transferEnded(result); });
    std::lock_guard lock(mutex_);
    transfer_ = std::move(transfer);
}

void NetHTTPRequest::cancel()
{
    std::shared_ptr<platform::URLTransfer> transfer;
    {
        std::lock_guard lock(mutex_);
        transfer.swap(transfer_);
        delegate_.reset();
        inProgress_ = false;
    }
    if (transfer) {
        transfer->cancel();
    }
}

void NetHTTPRequest::transferEnded(const platform::URLResult& result)
{
    bool retry = false;
    double deadlineLeft = 0;
    {
        std::lock_guard lock(mutex_);
        if (!inProgress_) {
            return;  // cancelled while the outcome was on its way
        }
        bool timedOut = result.error && result.error->code() == platform::kNetErrorTimedOut;
        // The retries share what is left of the deadline; once it has
        // passed, a time-out is reported instead of tried again.
        deadlineLeft = deadlineSeconds_ > 0 ? startedAt_ + deadlineSeconds_ - platform::Clock::currentTime() : 0;
        retry = timedOut && timeoutsRetried_ < retriesOnTimeout_ && (deadlineSeconds_ <= 0 || deadlineLeft > 0);
        if (retry) {
            ++timeoutsRetried_;
        } else {
            response_ = result.response;
            error_ = result.error;
        }
    }
    if (retry)
        send(deadlineLeft);
    else if (result.error)
        tellDelegate(false);
    else
        requestFinished();
}

void NetHTTPRequest::requestFinished()
{
    tellDelegate(true);
}

void NetHTTPRequest::tellDelegate(bool finished)
{
    auto self = platform::self(this);
    platform::performOnMain([self, finished] {
        {
            std::lock_guard lock(self->mutex_);
            self->inProgress_ = false;
        }
        // Read at delivery, so a delegate cleared on the main thread meanwhile hears nothing.
        auto delegate = self->delegate();
        if (!delegate) return;
        if (finished)
            delegate->requestFinished(self);
        else
            delegate->requestFailed(self);
    });
}
