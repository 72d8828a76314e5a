#include "transport/provider/HCProvider.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "kernel/http/HCHttpService.h"
#include "kernel/settings/HCSettings.h"
#include "platform/net/CurlTransport.h"
#include "platform/runtime/Guarded.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/presence/HCPresenceService.h"

namespace {

platform::Guarded<HCProviderHooks>& installedHooks()
{
    static platform::Guarded<HCProviderHooks> hooks;
    return hooks;
}

}  // namespace

void HCProvider::setHooks(HCProviderHooks hooks)
{
    installedHooks().set(std::move(hooks));
}

HCProviderHooks HCProvider::hooks()
{
    return installedHooks().get();
}

bool HCProvider::willSilentlyDiscardAction()
{
    auto h = hooks();
    return h.willSilentlyDiscardAction && h.willSilentlyDiscardAction();
}

std::string HCProvider::serviceRoot()
{
    auto settings = HCSettings::Instance();
    if (!settings) return {};
    return settings->objectForKey("server-url").value_or("");
}

std::shared_ptr<HCHttpService> HCProvider::createHttpService()
{
    return std::make_shared<HCHttpService>(serviceRoot(), false);
}

HCProvider::HCProvider(OAuthConsumer consumer)
    : consumer_(std::move(consumer)), requestThread_(platform::Thread::start("request")), queueLock_(0)
{
    token_ = OAuthCredentialStore::load(consumer_.key);
    // The request thread sends what it signs and reads what comes back: its
    // transfers run on it, with no transport thread between.
    requestThread_->runLoop()->post([] { platform::CurlTransport::runTransfersOnCurrentLoop(); });
}

std::shared_ptr<HCProvider> HCProvider::providerWithProductKey(const std::string& productKey, const std::string& secret)
{
    return std::make_shared<HCProvider>(OAuthConsumer{productKey, secret});
}

HCProvider::~HCProvider()
{
    if (requestThread_) requestThread_->cancel();
}

void HCProvider::unlockUpdatingCondition()
{
    const bool idle = queuedActions_.empty() && runningActions_.empty() && outcomesHandedOn_ == 0;
    queueLock_.unlockWithCondition(idle ? 0 : 1);
}

std::shared_ptr<HCRequestHandle> HCProvider::performAction(
    const std::string& path, const std::optional<std::vector<URLRequestParameter>>& parameters,
    const std::string& httpMethod, const HCDelegate& success, const HCDelegate& failure, int requestType,
    const platform::ObjectPtr& notice, bool requiringAuthentication, std::size_t maxReplyBytes)
{
    if (requiringAuthentication && willSilentlyDiscardAction()) return nullptr;

    auto request =
        std::make_shared<OAuthURLRequest>(HCHttpService::urlForPath(serviceRoot(), path), consumer_, std::nullopt);
    request->setHTTPMethod(httpMethod);
    request->setMaxBodyBytes(maxReplyBytes);
    std::vector<URLRequestParameter> sent = parameters.value_or(std::vector<URLRequestParameter>());
    const auto h = hooks();
    sent.emplace_back(kParentalControlsParameter,
                      h.parentalControlsEnabled && h.parentalControlsEnabled() ? "true" : "false");
    request->setParameters(sent);

    auto self = platform::self(this);
    auto loader = std::make_shared<OAuthAPIRequestLoader>(
        request, HCDelegate(self, &HCProvider::_loaderFinished, success, requestThread_),
        HCDelegate(self, &HCProvider::_loaderFailed, failure, requestThread_));
    loader->setProvider(self);
    auto action = std::make_shared<HCActionRequest>(loader, requestType, notice);
    // Made before the action is queued: from then on the request thread may
    // end the request before this call returns, and an end reported before
    // its handle existed would never reach it.
    auto handle = HCRequestHandle::requestHandle(loader);

    queueLock_.lock();
    if (requestThreadStopped_) {
        // Nothing would ever dispatch it, and a queued action keeps the
        // provider alive through its loader's callbacks.
        unlockUpdatingCondition();
        return nullptr;
    }
    queuedActions_.push_back(action);
    unlockUpdatingCondition();
    requestThread_->runLoop()->post([self] { self->dispatchNextAction(); });
    return handle;
}

void HCProvider::dispatchNextAction()
{
    queueLock_.lock();
    // Once the thread is being stopped, starting a request is pointless: its
    // reply could not be handled here any more.
    if (queuedActions_.empty() || requestThreadStopped_) {
        unlockUpdatingCondition();
        return;
    }
    auto action = queuedActions_.front();
    queuedActions_.pop_front();
    runningActions_.push_back(action);
    unlockUpdatingCondition();
    action->dispatch();
}

std::shared_ptr<HCActionRequest> HCProvider::actionForLoader(const OAuthAPIRequestLoader* loader)
{
    for (auto& a : runningActions_)
        if (a->loader().get() == loader) return a;
    return nullptr;
}

void HCProvider::_loaderFinished(std::shared_ptr<OAuthAPIRequestLoader> loader,
                                 std::shared_ptr<HCDelegateChained> nextCall)
{
    if (!loader) return;
    queueLock_.lock();
    // A reply that was already on its way when the request was cancelled
    // stops here: the caller hears nothing after cancelling. Asked under the
    // lock because cancelRequest() marks the loader cancelled under it.
    if (loader->isCancelled()) {
        unlockUpdatingCondition();
        return;
    }
    std::erase_if(runningActions_, [&](const auto& a) { return a->loader() == loader; });
    HCRequestHandlesForModule::completeRequest(loader);
    // The provider is not idle until the outcome is on its way to the
    // caller's thread: whoever waits for idle and then runs that thread's
    // loop must find it there. Handed on outside the lock, since a delegate
    // delivered at once may queue another action.
    ++outcomesHandedOn_;
    unlockUpdatingCondition();
    if (nextCall) nextCall->invokeWith(loader);
    queueLock_.lock();
    --outcomesHandedOn_;
    unlockUpdatingCondition();
}

void HCProvider::_loaderFailed(std::shared_ptr<OAuthAPIRequestLoader> loader,
                               std::shared_ptr<HCDelegateChained> nextCall)
{
    if (!loader || loader->isCancelled()) return;
    std::shared_ptr<HCActionRequest> action;
    {
        queueLock_.lock();
        action = actionForLoader(loader.get());
        unlockUpdatingCondition();
    }
    int status = loader->statusCode();
    if (!action || action->requestType() == HCActionRequest::kNoErrorScreens) {
        _loaderFinished(loader, nextCall);
        return;
    }
    auto h = hooks();
    auto self = platform::self(this);
    if (status == 401) {
        // The failure is held back until the log-in flow gives up on the request.
        action->setAbandonAction([self, loader, nextCall] { self->_loaderFinished(loader, nextCall); });
        platform::performOnMain([login = h.launchLoginFlowForRequest, action] {
            if (login)
                login(action);
            else
                action->abandonInLightOfASeriousError();
        });
        return;
    }
    if (status == 426 && h.displayUpgradeRequiredErrorMessage)
        platform::performOnMain([show = h.displayUpgradeRequiredErrorMessage, data = loader->data()] { show(data); });
    if (status == 450 && h.displayServerMaintenanceNotice)
        platform::performOnMain([show = h.displayServerMaintenanceNotice, data = loader->data()] { show(data); });
    _loaderFinished(loader, nextCall);
}

void HCProvider::cancelRequest(const OAuthAPIRequestLoaderPtr& loader)
{
    if (!loader) return;
    queueLock_.lock();
    auto running = std::find_if(runningActions_.begin(), runningActions_.end(),
                                [&](const auto& a) { return a->loader() == loader; });
    if (running != runningActions_.end()) {
        runningActions_.erase(running);
        loader->cancel();
    } else {
        // Removing in place keeps the other queued actions in the order they were made.
        std::erase_if(queuedActions_, [&](const auto& a) { return a->loader() == loader; });
    }
    unlockUpdatingCondition();
}

void HCProvider::destroyAllPendingRequests()
{
    queueLock_.lock();
    queuedActions_.clear();
    unlockUpdatingCondition();
}

void HCProvider::cleanupRequestThread()
{
    queueLock_.lock();
    requestThreadStopped_ = true;
    unlockUpdatingCondition();
    if (requestThread_) requestThread_->cancel();

    // What is left can never finish: its replies would be handled on the
    // stopped thread. Dropping it also breaks the loop provider -> action ->
    // loader -> callback -> provider that would keep the provider alive.
    std::deque<std::shared_ptr<HCActionRequest>> queued;
    std::vector<std::shared_ptr<HCActionRequest>> running;
    queueLock_.lock();
    queued.swap(queuedActions_);
    running.swap(runningActions_);
    unlockUpdatingCondition();
    for (auto& action : running) action->loader()->cancel();
}

bool HCProvider::isAuthenticated() const
{
    std::lock_guard lock(tokenMutex_);
    return token_.has_value();
}

std::optional<OAuthToken> HCProvider::accessToken() const
{
    std::lock_guard lock(tokenMutex_);
    return token_;
}

bool HCProvider::setAccessToken(const std::string& token, const std::string& secret)
{
    // The credential store would not keep it, and a request signed with it
    // could only earn a 401.
    if (token.empty()) return false;
    OAuthToken pair{token, secret};
    {
        std::lock_guard lock(tokenMutex_);
        token_ = pair;
    }
    OAuthCredentialStore::save(consumer_.key, pair);
    return true;
}

void HCProvider::destroyLocalCredentials()
{
    {
        std::lock_guard lock(tokenMutex_);
        token_.reset();
    }
    OAuthCredentialStore::removeAll();
    if (auto presence = HCPresenceService::sharedInstance()) presence->disconnect();
    if (auto done = hooks().didDestroyLocalCredentials) done();
}

bool HCProvider::waitUntilIdle(double wallTimeoutSeconds)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(wallTimeoutSeconds));
    auto left = [&] { return std::chrono::duration<double>(deadline - Clock::now()).count(); };
    for (;;) {
        if (!queueLock_.lockWhenCondition(0, std::max(0.0, left()))) return false;
        const bool stopped = requestThreadStopped_;
        queueLock_.unlockWithCondition(0);
        if (stopped || requestThread_->isCurrent()) return true;
        // A step that a reply takes on the request thread after the provider
        // let go of it (a service reading the reply) was posted before the
        // provider went idle, so it has handed its outcome on by the time a
        // task posted now runs. Such a step may queue another action: then
        // the wait goes on.
        struct Passed {
            std::mutex mutex;
            std::condition_variable cv;
            bool done = false;
        };
        auto passed = std::make_shared<Passed>();
        requestThread_->runLoop()->post([passed] {
            std::lock_guard lock(passed->mutex);
            passed->done = true;
            passed->cv.notify_all();
        });
        {
            std::unique_lock lock(passed->mutex);
            if (!passed->cv.wait_until(lock, deadline, [&] { return passed->done; })) return false;
        }
        if (queueLock_.condition() == 0) return true;
    }
}

size_t HCProvider::queuedActionCount() const
{
    queueLock_.lock();
    size_t n = queuedActions_.size();
    queueLock_.unlockWithCondition(queueLock_.condition());
    return n;
}

size_t HCProvider::runningLoaderCount() const
{
    queueLock_.lock();
    size_t n = runningActions_.size();
    queueLock_.unlockWithCondition(queueLock_.condition());
    return n;
}

size_t HCProvider::outcomesBeingHandedOn() const
{
    queueLock_.lock();
    const auto n = static_cast<size_t>(outcomesHandedOn_);
    queueLock_.unlockWithCondition(queueLock_.condition());
    return n;
}
