#pragma once
// The transport's HTTP request: configured by its owner, started with
// startAsynchronous(), and reported to a delegate on the main thread.
//
// Any HTTP reply, whatever its status, ends in the completion step
// requestFinished() (no argument), which runs on the transport's request
// thread (a thread of its own, named "NetHTTPRequest"); subclasses override
// it to prepare the reply there and then call the base, which tells the
// delegate requestFinished(request) on the main thread. A request that gets
// no reply (a connection error, or a time-out after its retries) tells the
// delegate requestFailed(request) on the main thread. Redirects are followed
// by the transfer itself and never reach the delegate.
//
// Time-outs follow platform::Clock: a transfer fails with a time-out when no
// bytes have moved for timeOutSeconds(); each time-out is retried
// numberOfTimesToRetryOnTimeout() times before the failure is reported. The
// request as a whole, its retries included, fails with a time-out once
// deadlineSeconds() have passed since it started, however its bytes move;
// a time-out at or past the deadline is not retried.
// Replies' cookies go to the shared cookie store, whose matching cookies go
// with every request.
//
// The delegate is not retained (its owner keeps it alive). A running request
// keeps itself alive until its delegate has been told.
//
// Thread: configure and start on one thread (the main thread in this
// program); the response getters may be read from any thread and are
// complete when the delegate is told.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/net/HttpHeaders.h"
#include "platform/net/NetError.h"
#include "platform/net/URLRequest.h"
#include "platform/runtime/Object.h"

namespace platform {
class URLTransfer;
}

class NetHTTPRequest;

// Thread: both methods are called on the main thread.
class NetHTTPRequestDelegate {
public:
    virtual ~NetHTTPRequestDelegate() = default;
    virtual void requestFinished(const std::shared_ptr<NetHTTPRequest>& request) = 0;
    virtual void requestFailed(const std::shared_ptr<NetHTTPRequest>& request) = 0;
};

class NetHTTPRequest : public platform::Object {
public:
    static constexpr double kDefaultTimeOutSeconds = 10;

    explicit NetHTTPRequest(std::string url);
    static std::shared_ptr<NetHTTPRequest> requestWithURL(const std::string& url);

    void setTimeOutSeconds(double seconds);
    double timeOutSeconds() const;
    // 0 or less: no deadline.
    void setDeadlineSeconds(double seconds);
    double deadlineSeconds() const;
    void setNumberOfTimesToRetryOnTimeout(int times);
    int numberOfTimesToRetryOnTimeout() const;
    void setDelegate(const std::shared_ptr<NetHTTPRequestDelegate>& delegate);
    std::shared_ptr<NetHTTPRequestDelegate> delegate() const;
    void setRequestMethod(std::string method);
    std::string requestMethod() const;
    // A header set again replaces its earlier value.
    void addRequestHeader(const std::string& name, std::string value);
    platform::HttpHeaders requestHeaders() const;
    void setPostBody(std::vector<uint8_t> body);
    std::vector<uint8_t> postBody() const;
    // Prepares the body before sending; the plain request keeps its raw body.
    virtual void buildPostBody();
    const std::string& url() const { return url_; }

    // The reply's charset as a NetStringEncoding; 0 when the reply named none.
    int responseEncoding() const;
    std::vector<uint8_t> responseData() const;
    int responseStatusCode() const;
    platform::HttpHeaders responseHeaders() const;
    // Why no reply came; nullptr after a reply (of any status) or before the end.
    std::shared_ptr<platform::NetError> error() const;

    // A new request of the same class with the same URL, method, headers,
    // body, time-out, deadline and delegate, not started.
    virtual std::shared_ptr<NetHTTPRequest> copy() const;
    // Starts the transfer and returns at once; does nothing while one runs.
    void startAsynchronous();
    // From startAsynchronous() until the delegate has been told (or would have been).
    bool isInProgress() const;
    // Stops the transfer; the delegate hears nothing more of this request.
    void cancel();

protected:
    // The completion step of a reply, on the request thread; the base tells
    // the delegate on the main thread.
    virtual void requestFinished();
    // Copies what copy() promises into a request made by a subclass's copy().
    virtual void copySettingsTo(NetHTTPRequest& target) const;

private:
    void send(double deadlineSeconds);
    void transferEnded(const platform::URLResult& result);
    void tellDelegate(bool finished);

    const std::string url_;
    mutable std::mutex mutex_;
    double timeOutSeconds_ = kDefaultTimeOutSeconds;
    double deadlineSeconds_ = platform::URLRequest::kDefaultDeadlineSeconds;
    double startedAt_ = 0;
    int retriesOnTimeout_ = 0;
    int timeoutsRetried_ = 0;
    std::weak_ptr<NetHTTPRequestDelegate> delegate_;
    std::string method_ = "GET";
    platform::HttpHeaders requestHeaders_;
    std::vector<uint8_t> postBody_;
    bool inProgress_ = false;
    std::shared_ptr<platform::URLTransfer> transfer_;
    platform::URLResponse response_;
    std::shared_ptr<platform::NetError> error_;
};
