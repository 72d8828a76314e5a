#include "core/xp/HCSession.h"

#include <algorithm>

#include "core/bootstrap/HCBootstrap.h"
#include "core/bootstrap/HCBootstrapService.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "core/xp/HCXPClientHooks.h"
#include "kernel/settings/HCSettings.h"
#include "kernel/system/HCSystemChecks.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Format.h"
#include "platform/net/CookieStore.h"
#include "platform/net/NetError.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"

namespace {

bool isSuccess(uint32_t status)
{
    return status >= 200 && status < 300;
}

std::shared_ptr<HCServerException> exceptionOf(const std::shared_ptr<HCResourceRequest>& request)
{
    return platform::as<HCServerException>(request->resources());
}

bool isSecureConnectionFailure(int code)
{
    return code == platform::kNetErrorSecureConnectionFailed || code == platform::kNetErrorServerCertificateHasBadDate ||
           code == platform::kNetErrorServerCertificateUntrusted;
}

}  // namespace

std::shared_ptr<HCSession> HCSession::initWithProductKey(const std::string& key, const std::string& secret)
{
    return std::make_shared<HCSession>(key, secret);
}

HCSession::HCSession(std::string key, std::string secret)
    : key_(std::move(key)), secret_(std::move(secret)), currentUser_(HCUser::invalidUser())
{
    priorityObservers_.reserve(2);
    observers_.reserve(2);
    queuedRequests_.reserve(2);
}

std::shared_ptr<platform::Dictionary> HCSession::deviceRegistrationBody()
{
    auto device = platform::Dictionary::make();
    device->setString("identifier", platform::DeviceFacts::uniqueIdentifier());
    device->setString("name", platform::DeviceFacts::name());
    device->setString("hardware", getHardwareVersion());
    device->setString("os", platform::DeviceFacts::systemVersion());
    device->setString("screen_resolution", platform::format("%dx%d", platform::DeviceFacts::screenWidth(),
                                                            platform::DeviceFacts::screenHeight()));
    device->setString("processor", "dunno");

    auto body = platform::Dictionary::make();
    body->setString("platform", "iOS");
    body->setObject("device", device);
    body->setString("protocol_version", protocolVersion());
    return body;
}

// --- Session changes ------------------------------------------------------------

void HCSession::loginUserId(const std::string& userId, const std::optional<std::string>& password)
{
    HC_CHECK_MAIN_THREAD();
    PendingLogin login{false, userId, password};
    if (!createdDeviceSession_) {
        // The first log-in asked for wins; it runs once the device is registered.
        if (!postDeviceInvocation_) postDeviceInvocation_ = std::move(login);
        establishDeviceSession();
        return;
    }
    if (!sessionChangeInProgress_) startLogin(login);
}

void HCSession::loginNewUser()
{
    HC_CHECK_MAIN_THREAD();
    PendingLogin login{true, std::string(), std::nullopt};
    if (!createdDeviceSession_) {
        if (!postDeviceInvocation_) postDeviceInvocation_ = std::move(login);
        establishDeviceSession();
        return;
    }
    if (!sessionChangeInProgress_) startLogin(login);
}

void HCSession::startLogin(const PendingLogin& login)
{
    HC_CHECK_MAIN_THREAD();
    sessionChangeInProgress_ = true;
    auto self = platform::self(this);
    std::optional<std::string> userId;
    if (!login.newUser) userId = login.userId;
    HCBootstrapService::doBootstrapWithNewAccount(login.newUser, userId, HCDelegate(self, &HCSession::bootstrapSuccess),
                                                  HCDelegate(self, &HCSession::bootstrapFailure));
}

void HCSession::establishDeviceSession()
{
    HC_CHECK_MAIN_THREAD();
    if (sessionChangeInProgress_ || createdDeviceSession_) return;
    auto request = HCResourceRequest::postRequestWithPath<HCResourceRequest>(kDevicesPath, deviceRegistrationBody());
    request->setRetryIfNotLoggedIn(false);
    request->setRequiresUserSession(false);
    request->setRequiresDeviceSession(false);
    request->onRespondTarget(platform::self(this), &HCSession::deviceSessionResponse);
    sessionChangeInProgress_ = true;
    sendSessionRequest(request);
}

void HCSession::establishUserSessionForId(const std::string& userId, const std::optional<std::string>& password)
{
    HC_CHECK_MAIN_THREAD();
    auto body = platform::Dictionary::make();
    body->setString("platform", "iOS");
    body->setString("hc-version", HCXPClientHooks::currentReleaseVersion());
    std::string appVersion;
    if (auto settings = HCSettings::Instance())
        appVersion = settings->objectForKey(HCSettings::kBundleVersionKey).value_or("");
    body->setString("app-version", appVersion);
    body->setString("user_id", userId);
    if (password) body->setString("password", *password);

    auto request = HCResourceRequest::postRequestWithPath<HCResourceRequest>(kSessionsPath, body);
    request->setRetryIfNotLoggedIn(false);
    request->setRequiresUserSession(false);
    request->setRequiresDeviceSession(true);
    request->onRespondTarget(platform::self(this), &HCSession::userSessionResponse);
    sessionChangeInProgress_ = true;
    sendSessionRequest(request);
}

void HCSession::logoutUser()
{
    HC_CHECK_MAIN_THREAD();
    if (sessionChangeInProgress_) return;
    auto request = HCResourceRequest::deleteRequestWithPath<HCResourceRequest>(kSessionsPath);
    request->setRetryIfNotLoggedIn(false);
    request->setRequiresDeviceSession(true);
    request->setRequiresUserSession(true);
    request->onRespondTarget(platform::self(this), &HCSession::logoutResponse);
    sessionChangeInProgress_ = true;
    sendSessionRequest(request);
}

void HCSession::sendSessionRequest(const std::shared_ptr<HCResourceRequest>& request)
{
    // The change is marked before anything can answer, so a reply handled
    // at once (a session failure) ends it and nothing marks it again.
    request->prepareToExecute();
    request->signWithKey(key_, secret_);
    if (request->requiresUserSession() && !createdUserSession_) {
        request->forceFailure(0);
        return;
    }
    started(request);
    request->startTransport();
}

// --- Requests ---------------------------------------------------------------------

void HCSession::performRequest(const std::shared_ptr<HCXPRequest>& request)
{
    HC_CHECK_MAIN_THREAD();
    if (!request) return;
    request->signWithKey(key_, secret_);
    if (request->requiresDeviceSession()) establishDeviceSession();
    if (request->requiresUserSession() && !createdUserSession_) {
        request->forceFailure(0);
        return;
    }
    if (sessionChangeInProgress_) {
        queuedRequests_.push_back(request);
        return;
    }
    started(request);
    request->startTransport();
}

void HCSession::started(const std::shared_ptr<HCXPRequest>& request)
{
    std::erase_if(startedRequests_, [](const std::weak_ptr<HCXPRequest>& r) { return r.expired(); });
    startedRequests_.push_back(request);
}

void HCSession::cancelAllRequests()
{
    HC_CHECK_MAIN_THREAD();
    queuedRequests_.clear();
    std::vector<std::weak_ptr<HCXPRequest>> running;
    running.swap(startedRequests_);
    for (const auto& weak : running) {
        if (auto request = weak.lock()) request->cancel();
    }
}

void HCSession::currentDeviceChanged()
{
    HC_CHECK_MAIN_THREAD();
    parentalControlsEnabled_.store(HCDevice::parentalControlsEnabled(currentDevice_));
}

void HCSession::processQueuedRequests()
{
    HC_CHECK_MAIN_THREAD();
    if (sessionChangeInProgress_) return;
    // Walk a list of our own: a request that starts a change while we walk
    // is queued afresh, and so are the ones after it, in their order.
    std::vector<std::shared_ptr<HCXPRequest>> waiting;
    waiting.swap(queuedRequests_);
    for (const auto& request : waiting) performRequest(request);
}

template <class Needs>
void HCSession::failQueuedRequests(Needs needs)
{
    std::vector<std::shared_ptr<HCXPRequest>> failing;
    auto kept = std::stable_partition(queuedRequests_.begin(), queuedRequests_.end(),
                                      [&](const std::shared_ptr<HCXPRequest>& request) { return !needs(*request); });
    failing.assign(kept, queuedRequests_.end());
    queuedRequests_.erase(kept, queuedRequests_.end());
    for (const auto& request : failing) request->forceFailure(0);
}

void HCSession::failWithException(const std::shared_ptr<HCServerException>& exception)
{
    HC_CHECK_MAIN_THREAD();
    auto self = platform::self(this);
    tellObservers([&](HCSessionObserver& observer) { observer.sessionFailureWithException(self, exception); });
}

// --- Observers --------------------------------------------------------------------

namespace {

bool containsObserver(const std::vector<std::weak_ptr<HCSessionObserver>>& list,
                      const std::shared_ptr<HCSessionObserver>& observer)
{
    return std::any_of(list.begin(), list.end(), [&](const auto& weak) { return weak.lock() == observer; });
}

void eraseObserver(std::vector<std::weak_ptr<HCSessionObserver>>& list, const std::shared_ptr<HCSessionObserver>& observer)
{
    std::erase_if(list, [&](const auto& weak) {
        auto strong = weak.lock();
        return !strong || strong == observer;
    });
}

}  // namespace

void HCSession::addObserver(const std::shared_ptr<HCSessionObserver>& observer)
{
    HC_CHECK_MAIN_THREAD();
    if (observer && !containsObserver(observers_, observer)) observers_.push_back(observer);
}

void HCSession::addPriorityObserver(const std::shared_ptr<HCSessionObserver>& observer)
{
    HC_CHECK_MAIN_THREAD();
    if (observer && !containsObserver(priorityObservers_, observer)) priorityObservers_.push_back(observer);
}

void HCSession::removeObserver(const std::shared_ptr<HCSessionObserver>& observer)
{
    HC_CHECK_MAIN_THREAD();
    eraseObserver(observers_, observer);
    eraseObserver(priorityObservers_, observer);
}

std::vector<std::shared_ptr<HCSessionObserver>> HCSession::liveObservers(Rank rank)
{
    std::vector<std::shared_ptr<HCSessionObserver>> live;
    for (const auto& weak : rank == Rank::Priority ? priorityObservers_ : observers_)
        if (auto observer = weak.lock()) live.push_back(std::move(observer));
    return live;
}

template <class Call>
void HCSession::tellObservers(Call call)
{
    // Snapshots: an observer may add or remove observers while it is told.
    for (const auto& observer : liveObservers(Rank::Priority))
        platform::callOptional([&] { call(*observer); });
    for (const auto& observer : liveObservers(Rank::Plain))
        platform::callOptional([&] { call(*observer); });
}

// --- Replies --------------------------------------------------------------------------

void HCSession::bootstrapSuccess(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    std::shared_ptr<HCBootstrap> bootstrap;
    if (series) {
        for (const auto& object : series->objects()) {
            if ((bootstrap = platform::as<HCBootstrap>(object))) break;
        }
    }
    // Without a bootstrap there is no user to open a session for: the
    // handshake failed, and the change must end here.
    if (!bootstrap || !bootstrap->user() || !bootstrap->user()->userId()) {
        bootstrapFailure(nullptr);
        return;
    }
    handshakeUser_ = bootstrap->user();
    establishUserSessionForId(*bootstrap->user()->userId(), std::nullopt);
}

void HCSession::bootstrapFailure(std::shared_ptr<platform::Object> failure)
{
    HC_CHECK_MAIN_THREAD();
    sessionChangeInProgress_ = false;
    std::shared_ptr<HCServerException> exception;
    if (auto loader = platform::as<OAuthAPIRequestLoader>(failure)) {
        if (auto error = loader->error(); error && isSecureConnectionFailure(error->code()))
            exception = HCServerException::sslFailureException();
    }
    failWithException(exception);
    // The log-in made no user session: what waited for one fails, the rest
    // goes out (a 401 retry among them gets its answer instead of waiting).
    failQueuedRequests([](const HCXPRequest& request) { return request.requiresUserSession(); });
    processQueuedRequests();
}

void HCSession::deviceSessionResponse(const std::shared_ptr<HCResourceRequest>& request)
{
    HC_CHECK_MAIN_THREAD();
    sessionChangeInProgress_ = false;
    if (isSuccess(request->httpResponseCode())) {
        createdDeviceSession_ = true;
        auto login = std::move(postDeviceInvocation_);
        postDeviceInvocation_.reset();
        if (login) {
            if (login->newUser)
                loginNewUser();
            else
                loginUserId(login->userId, login->password);
        }
        if (auto device = platform::as<HCDevice>(request->resources())) {
            const bool changed = currentDevice_ != device;
            currentDevice_ = device;
            currentDeviceChanged();
            if (changed) {
                auto hooks = HCXPClientHooks::installed();
                if (hooks.reloadInactiveTabBars) hooks.reloadInactiveTabBars();
            }
        }
        processQueuedRequests();
        return;
    }
    // The log-in that waited for this device session cannot run.
    postDeviceInvocation_.reset();
    failQueuedRequests([](const HCXPRequest& queued) { return queued.requiresDeviceSession(); });
    createdDeviceSession_ = false;
    failWithException(exceptionOf(request));
    processQueuedRequests();
}

void HCSession::userSessionResponse(const std::shared_ptr<HCResourceRequest>& request)
{
    HC_CHECK_MAIN_THREAD();
    sessionChangeInProgress_ = false;
    if (isSuccess(request->httpResponseCode())) {
        createdUserSession_ = true;
        auto previous = currentUser_;
        std::shared_ptr<HCUser> user;
        if (auto hooks = HCXPClientHooks::installed(); hooks.localUser) user = hooks.localUser();
        currentUser_ = user ? user : handshakeUser_;
        handshakeUser_ = nullptr;
        auto self = platform::self(this);
        auto current = currentUser_;
        tellObservers([&](HCSessionObserver& observer) { observer.sessionDidLoginUser(self, current, previous); });
        processQueuedRequests();
        return;
    }
    handshakeUser_ = nullptr;
    createdUserSession_ = false;
    if (request->httpResponseCode() == 401) {
        // The service no longer knows the device session behind our cookie:
        // the next request or log-in registers the device afresh.
        createdDeviceSession_ = false;
        platform::CookieStore::shared().deleteCookiesNamed(kSessionCookieName);
    }
    failWithException(exceptionOf(request));
    processQueuedRequests();
}

void HCSession::logoutResponse(const std::shared_ptr<HCResourceRequest>& request)
{
    HC_CHECK_MAIN_THREAD();
    sessionChangeInProgress_ = false;
    createdUserSession_ = false;
    if (!isSuccess(request->httpResponseCode())) {
        createdDeviceSession_ = false;
        platform::CookieStore::shared().deleteCookiesNamed(kSessionCookieName);
    }
    auto previous = currentUser_;
    currentUser_ = nullptr;
    auto self = platform::self(this);
    tellObservers([&](HCSessionObserver& observer) { observer.sessionDidLogoutUser(self, previous); });
    processQueuedRequests();
}
