#pragma once
// One request of an HCHttpService: what was asked, the caller's user data,
// the observer to tell, and once it has ended the reply or the error.
//
// Thread: started by its service on the calling thread, whose run loop
// receives the end; cancelImmediately() and the getters from any thread.
#include <memory>
#include <mutex>
#include <string>

#include "platform/foundation/Values.h"
#include "platform/net/HttpHeaders.h"
#include "platform/net/NetError.h"
#include "platform/net/URLRequest.h"
#include "platform/runtime/Object.h"

class HCHttpService;
class HCHttpServiceObserver;
namespace platform {
class URLTransfer;
}

class HCHttpRequest final : public platform::Object {
public:
    HCHttpRequest(std::string url, platform::ObjectPtr userData, std::shared_ptr<HCHttpServiceObserver> observer);

    const std::string& url() const { return url_; }
    const platform::ObjectPtr& userData() const { return userData_; }
    std::shared_ptr<HCHttpServiceObserver> observer() const;
    bool isInProgress() const;

    // The reply's HTTP status; 0 while running, after a failure or a cancel.
    int statusCode() const;
    // The reply body; nullptr without a reply.
    std::shared_ptr<platform::Data> responseData() const;
    platform::HttpHeaders responseHeaders() const;
    // Why no reply came; nullptr otherwise.
    std::shared_ptr<platform::NetError> error() const;

    // Forgets the observer, cancels the transfer and marks the request as not
    // in progress. Nothing is reported afterwards: neither the observer nor
    // the completion hook hears of this request again.
    void cancelImmediately();

private:
    friend class HCHttpService;
    void start(platform::URLRequest request, const std::shared_ptr<HCHttpService>& service);
    void transferEnded(const platform::URLResult& result);

    const std::string url_;
    const platform::ObjectPtr userData_;
    mutable std::mutex mutex_;
    std::shared_ptr<HCHttpServiceObserver> observer_;
    std::weak_ptr<HCHttpService> service_;
    std::shared_ptr<platform::URLTransfer> transfer_;
    bool inProgress_ = false;
    int statusCode_ = 0;
    std::shared_ptr<platform::Data> responseData_;
    platform::HttpHeaders responseHeaders_;
    std::shared_ptr<platform::NetError> error_;
};

using HCHttpRequestPtr = std::shared_ptr<HCHttpRequest>;
