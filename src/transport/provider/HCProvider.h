#pragma once
// The one gateway for signed service requests.
//
// performAction() queues an action and returns at once; the provider's own
// request thread (a run loop of its own) starts it, and the loader signs it
// then, with the token the provider holds at that moment. Replies are
// handed to the action's callbacks on that thread; the callbacks then hop to
// their own threads. A condition lock guards the queue: its condition is 1
// while actions are queued, loaders run or an outcome is being handed on,
// else 0.
//
// Thread: performAction(), cancelRequest() and the credential calls from any
// thread (the main thread as a rule); dispatch and reply handling on the
// request thread; the status hooks on the main thread.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/callbacks/HCDelegate.h"
#include "kernel/io/URLRequestParameter.h"
#include "platform/runtime/ConditionLock.h"
#include "platform/runtime/Thread.h"
#include "transport/handles/HCRequestHandle.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"
#include "transport/oauth/OAuthCredentialStore.h"
#include "transport/provider/HCActionRequest.h"
#include "transport/provider/HCProviderHooks.h"

class HCHttpService;

class HCProvider final : public platform::Object {
public:
    // Sent with every action (see HCProviderHooks::parentalControlsEnabled).
    static constexpr const char* kParentalControlsParameter = "parental_controls_enabled";

    static std::shared_ptr<HCProvider> providerWithProductKey(const std::string& productKey, const std::string& secret);
    ~HCProvider() override;

    // `path` joins the service root with one "/" (HCHttpService::urlForPath);
    // a reply body over `maxReplyBytes` fails the request with
    // kNetErrorDataLengthExceedsMaximum.
    std::shared_ptr<HCRequestHandle> performAction(
        const std::string& path, const std::optional<std::vector<URLRequestParameter>>& parameters,
        const std::string& httpMethod, const HCDelegate& success, const HCDelegate& failure, int requestType,
        const platform::ObjectPtr& notice, bool requiringAuthentication,
        std::size_t maxReplyBytes = platform::URLRequest::kDefaultMaxBodyBytes);

    // Stops a running loader or drops a queued one; nil changes nothing.
    void cancelRequest(const OAuthAPIRequestLoaderPtr& loader);
    // Drops every queued action; loaders already running finish.
    void destroyAllPendingRequests();
    // Stops the request thread (after the work it is doing now), drops the
    // actions still queued and cancels the running ones; from then on
    // performAction() starts nothing and answers nil.
    void cleanupRequestThread();

    bool isAuthenticated() const;
    // The token every request is signed with when its loader starts it.
    std::optional<OAuthToken> accessToken() const;
    // An empty token is refused (false): nothing changes.
    bool setAccessToken(const std::string& token, const std::string& secret);
    void destroyLocalCredentials();

    platform::ThreadPtr requestThread() const { return requestThread_; }
    const std::string& productKey() const { return consumer_.key; }

    // Waits until nothing is queued or running and every outcome has been
    // handed to its caller's thread, past a step it takes on the request
    // thread on the way (a service's reading of the reply); false after the
    // wall-time bound.
    bool waitUntilIdle(double wallTimeoutSeconds);
    size_t queuedActionCount() const;
    size_t runningLoaderCount() const;
    // Outcomes taken off the running count and not yet posted on to their
    // next step (a service's reading of the reply, on the request thread):
    // a task posted to the request thread while this is 0 runs after those
    // steps, not before one whose post is still to come.
    size_t outcomesBeingHandedOn() const;

    static std::shared_ptr<HCHttpService> createHttpService();
    static bool willSilentlyDiscardAction();
    // The service root every action path is relative to ("server-url").
    static std::string serviceRoot();

    static void setHooks(HCProviderHooks hooks);
    static HCProviderHooks hooks();

    // Reply handlers, bound to the request thread.
    void _loaderFinished(std::shared_ptr<OAuthAPIRequestLoader> loader, std::shared_ptr<HCDelegateChained> nextCall);
    void _loaderFailed(std::shared_ptr<OAuthAPIRequestLoader> loader, std::shared_ptr<HCDelegateChained> nextCall);

    HCProvider(OAuthConsumer consumer);

private:
    void dispatchNextAction();
    void unlockUpdatingCondition();
    std::shared_ptr<HCActionRequest> actionForLoader(const OAuthAPIRequestLoader* loader);

    OAuthConsumer consumer_;
    platform::ThreadPtr requestThread_;
    mutable platform::ConditionLock queueLock_;
    // Guarded by queueLock_.
    std::deque<std::shared_ptr<HCActionRequest>> queuedActions_;
    std::vector<std::shared_ptr<HCActionRequest>> runningActions_;
    bool requestThreadStopped_ = false;
    // Outcomes taken off the running list and not yet handed to their callers.
    int outcomesHandedOn_ = 0;
    mutable std::mutex tokenMutex_;
    std::optional<OAuthToken> token_;
};
