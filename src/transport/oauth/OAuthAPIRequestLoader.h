#pragma once
// Runs one signed request and reports the outcome: the success callback gets
// the loader itself for a 2xx reply; the failure callback gets the loader for
// any other reply or for a request that got no reply (then oauthResponse()
// has no URL response and error() says why). Every caller of the provider
// reads failures through this one type.
//
// Thread: made on the caller's thread; loadSynchronously(false) starts the
// transfer on the current thread's run loop, and the callbacks are invoked
// from there (each HCDelegate then hops to its own thread). The callbacks
// may be replaced from another thread meanwhile; they are guarded.
#include <memory>
#include <mutex>

#include "kernel/callbacks/HCDelegate.h"
#include "platform/foundation/Values.h"
#include "platform/net/NetError.h"
#include "platform/net/URLTransfer.h"
#include "transport/oauth/OAuthServiceResponse.h"
#include "transport/oauth/OAuthURLRequest.h"

class HCProvider;

class OAuthAPIRequestLoader final : public platform::Object {
public:
    OAuthAPIRequestLoader(std::shared_ptr<OAuthURLRequest> request, HCDelegate onSuccess, HCDelegate onFailure);

    const std::shared_ptr<OAuthURLRequest>& request() const { return request_; }

    // The reply body; empty before a reply and when none came.
    std::shared_ptr<platform::Data> data() const;
    // Always a response object once finished; its urlResponse is nil without a reply.
    std::shared_ptr<OAuthServiceResponse> oauthResponse() const;
    // The transport error when no reply came, else nullptr.
    platform::NetErrorPtr error() const;
    // The HTTP status, or 0 without a reply.
    int statusCode() const;

    HCDelegate getOnSuccess() const;
    HCDelegate getOnFailure() const;
    void setOnSuccess(const HCDelegate& delegate);
    void setOnFailure(const HCDelegate& delegate);

    // Only the asynchronous form exists: with false, signs the request (with
    // the provider's token of this moment when it has a provider) and starts
    // the transfer on the current thread's run loop. With true it does
    // nothing and answers false.
    bool loadSynchronously(bool synchronously);
    bool isLoading() const;

    // Reports the end to the request-handle registry, stops the transfer and
    // empties both callbacks: nothing is called back afterwards.
    void cancel();
    bool isCancelled() const;

    // The provider that queued this loader; a handle's cancel goes through it.
    void setProvider(const std::shared_ptr<HCProvider>& provider);
    std::shared_ptr<HCProvider> provider() const;

private:
    void finish(const platform::URLResult& result);

    const std::shared_ptr<OAuthURLRequest> request_;
    mutable std::mutex mutex_;
    HCDelegate onSuccess_;
    HCDelegate onFailure_;
    platform::URLTransferPtr transfer_;
    std::shared_ptr<platform::Data> data_;
    std::shared_ptr<OAuthServiceResponse> response_;
    platform::NetErrorPtr error_;
    bool cancelled_ = false;
    std::weak_ptr<HCProvider> provider_;
};

using OAuthAPIRequestLoaderPtr = std::shared_ptr<OAuthAPIRequestLoader>;
