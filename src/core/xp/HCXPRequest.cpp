#include "core/xp/HCXPRequest.h"

#include "core/clientstate/HCClientState.h"
#include "core/xp/ExtendedRequest.h"
#include "core/xp/HCServerException.h"
#include "core/xp/HCSession.h"
#include "core/xp/HCXPClientHooks.h"
#include "core/xp/XPArgBuilder.h"
#include "core/xp/XPReplyText.h"
#include "kernel/json/HCJsonCoder.h"
#include "kernel/settings/HCSettings.h"
#include "platform/net/URLParts.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/oauth/OAuthSignatureParameter.h"

HCXPRequest::~HCXPRequest()
{
    // A transport request that outlives us must not call back into a dead delegate.
    if (request_) request_->setDelegate(nullptr);
}

std::string HCXPRequest::embedQueryInPath(const std::string& path, const std::shared_ptr<platform::Dictionary>& query)
{
    const std::string text = QueryBuilder::queryFor(query);
    return text.empty() ? path : path + "?" + text;
}

std::string HCXPRequest::urlForPath(const std::string& path)
{
    std::string base;
    if (auto settings = HCSettings::Instance()) base = settings->objectForKey("server-url").value_or("");
    return base + (path.starts_with('/') ? path.substr(1) : path);
}

void HCXPRequest::setUp(const std::string& path, NetClass netClass, const std::optional<std::string>& method)
{
    path_ = path;
    const std::string url = urlForPath(path);
    std::shared_ptr<NetHTTPRequest> transport;
    if (netClass == NetClass::Form)
        transport = std::make_shared<ExtendedFormRequest>(url);
    else
        transport = std::make_shared<ExtendedGetRequest>(url);
    transport->setTimeOutSeconds(kTimeOutSeconds);
    transport->setNumberOfTimesToRetryOnTimeout(kRetriesOnTimeout);
    transport->setDeadlineSeconds(kDeadlineSeconds);
    if (method) transport->setRequestMethod(*method);
    setRequest(std::move(transport));
}

void HCXPRequest::setUpForm(const std::string& path, const std::string& method,
                            const std::shared_ptr<platform::Dictionary>& body)
{
    setUp(path, NetClass::Form, method);
    auto form = std::dynamic_pointer_cast<NetFormDataRequest>(request_);
    FormBuilder::builderForRequest(form)->addArguments(body);
}

void HCXPRequest::setUpFormText(const std::string& path, const std::string& method, const std::string& body)
{
    setUp(path, NetClass::Form, method);
    request_->addRequestHeader("Content-Type", kFormContentType);
    request_->setPostBody(std::vector<uint8_t>(body.begin(), body.end()));
}

void HCXPRequest::setRequest(std::shared_ptr<NetHTTPRequest> request)
{
    if (request_) {
        request_->setDelegate(nullptr);
        if (auto* old = dynamic_cast<ExtendedRequest*>(request_.get())) old->setXPRequest(nullptr);
    }
    request_ = std::move(request);
    if (request_) request_->setDelegate(platform::self(this));
}

std::shared_ptr<HCXPRequest> HCXPRequest::onRespondText(std::shared_ptr<HCXPResponseText> receiver)
{
    responseText_ = std::move(receiver);
    return platform::self(this);
}

std::shared_ptr<HCXPRequest> HCXPRequest::onRespondData(std::shared_ptr<HCXPResponseData> receiver)
{
    responseData_ = std::move(receiver);
    return platform::self(this);
}

std::shared_ptr<HCXPRequest> HCXPRequest::onRespondJSON(std::shared_ptr<HCXPResponseJSON> receiver)
{
    responseJSON_ = std::move(receiver);
    receivesOwnJSON_ = false;
    return platform::self(this);
}

void HCXPRequest::clearJSONReceiver()
{
    responseJSON_ = nullptr;
    receivesOwnJSON_ = false;
}

std::shared_ptr<HCXPResponseJSON> HCXPRequest::jsonReceiver()
{
    if (receivesOwnJSON_) return std::dynamic_pointer_cast<HCXPResponseJSON>(platform::self(this));
    return responseJSON_;
}

void HCXPRequest::execute()
{
    HC_CHECK_MAIN_THREAD();
    prepareToExecute();
    auto session = HCXPClientHooks::currentSession();
    if (!session) {
        forceFailure(0);
        return;
    }
    session->performRequest(platform::self(this));
}

void HCXPRequest::retry()
{
    HC_CHECK_MAIN_THREAD();
    if (!request_) return;
    setRequest(request_->copy());
    request_->setNumberOfTimesToRetryOnTimeout(kRetriesOnTimeout);
    execute();
}

std::string HCXPRequest::signatureBaseText(const std::string& secret) const
{
    if (!request_) return {};
    const std::string method = request_->requestMethod();
    const std::string& url = request_->url();
    std::string arguments;
    if (method == "GET" || method == "DELETE") {
        const auto question = url.find('?');
        if (question != std::string::npos) arguments = url.substr(question + 1);
    } else {
        request_->buildPostBody();
        const auto body = request_->postBody();
        arguments.assign(body.begin(), body.end());
    }
    auto parts = platform::URLParts::parse(url);
    const std::string urlPath = parts ? parts->path : std::string();
    // The form may have turned the method into "POST" while building its body.
    return urlPath + "+" + secret + "+" + request_->requestMethod() + "+" + arguments;
}

void HCXPRequest::signWithKey(const std::string& key, const std::string& secret)
{
    HC_CHECK_MAIN_THREAD();
    if (!requiresSignature_ || isSigned_ || !request_) return;
    const std::string signature =
        OAuthSignatureParameter::HMAC_SHA1SignatureForText(signatureBaseText(secret), secret + "&");
    request_->addRequestHeader("X-HC-Signature", signature);
    request_->addRequestHeader("X-HC-Key", key);
    isSigned_ = true;
}

void HCXPRequest::startTransport()
{
    HC_CHECK_MAIN_THREAD();
    if (!request_) return;
    if (auto* extended = dynamic_cast<ExtendedRequest*>(request_.get())) extended->setXPRequest(platform::self(this));
    request_->startAsynchronous();
}

void HCXPRequest::cancel()
{
    HC_CHECK_MAIN_THREAD();
    if (!request_) return;
    auto transport = request_;
    setRequest(nullptr);
    transport->cancel();
}

std::optional<std::string> HCXPRequest::responseAsString() const
{
    std::lock_guard lock(replyMutex_);
    return responseAsString_;
}

platform::ObjectPtr HCXPRequest::responseAsJson() const
{
    std::lock_guard lock(replyMutex_);
    return responseAsJson_;
}

std::shared_ptr<platform::Data> HCXPRequest::responseAsData() const
{
    std::lock_guard lock(replyMutex_);
    return responseAsData_;
}

void HCXPRequest::requestFinishedOnRequestThread(const NetHTTPRequest& transport)
{
    const bool wantsText = responseText_ || responseJSON_ || receivesOwnJSON_;
    const bool wantsJson = responseJSON_ || receivesOwnJSON_;
    const auto bytes = transport.responseData();
    std::optional<std::string> text;
    platform::ObjectPtr json;
    if (wantsText) text = xpReplyText(bytes, transport.responseEncoding());
    if (wantsJson && text) json = HCJsonCoder::decodeJson(*text);
    std::lock_guard lock(replyMutex_);
    responseAsString_ = std::move(text);
    responseAsJson_ = std::move(json);
    if (responseData_) responseAsData_ = platform::Data::make(bytes);
}

void HCXPRequest::requestFinished(const std::shared_ptr<NetHTTPRequest>& request)
{
    HC_CHECK_MAIN_THREAD();
    if (request != request_) return;
    auto keepAlive = platform::self(this);
    const auto status = static_cast<uint32_t>(request->responseStatusCode());
    if (status == 401 && retryIfNotLoggedIn_) {
        const auto userId = HCClientState::lastLoggedInUserId();
        auto session = HCXPClientHooks::currentSession();
        if (session && userId && !userId->empty() && *userId != "0") {
            // The retried request goes out once: a second 401 reaches the receivers.
            retryIfNotLoggedIn_ = false;
            session->loginUserId(*userId, std::nullopt);
            retry();
            return;
        }
    }
    deliver(responseAsString(), responseAsData(), responseAsJson(), status);
    setRequest(nullptr);
}

void HCXPRequest::requestFailed(const std::shared_ptr<NetHTTPRequest>& request)
{
    HC_CHECK_MAIN_THREAD();
    if (request != request_) return;
    auto keepAlive = platform::self(this);
    std::string message;
    if (auto error = request->error()) message = error->localizedDescription();
    if (message.empty()) message = kUnknownConnectionFailure;
    std::string escaped;
    for (char c : message) {
        if (c == '"') escaped += '\\';
        escaped += c;
    }
    failWithExceptionClass(std::string(), escaped, 0);
    setRequest(nullptr);
}

void HCXPRequest::forceFailure(uint32_t responseCode)
{
    failWithExceptionClass(HCServerException::kSessionFailure, kSessionFailureMessage, responseCode);
}

void HCXPRequest::failWithExceptionClass(const std::string& className, const std::string& message,
                                         uint32_t responseCode)
{
    HC_CHECK_MAIN_THREAD();
    auto exception = HCServerException::serverExceptionWithClass(className, message);
    const std::string text = HCJsonCoder::encodeObject(*exception);
    deliver(text, platform::Data::fromString(text), exception, responseCode);
}

void HCXPRequest::deliver(const std::optional<std::string>& text, const std::shared_ptr<platform::Data>& data,
                          const platform::ObjectPtr& json, uint32_t responseCode)
{
    auto keepAlive = platform::self(this);
    if (auto receiver = responseText_) receiver->onResponseText(text.value_or(std::string()), responseCode);
    if (auto receiver = responseData_) receiver->onResponseData(data, responseCode);
    if (auto receiver = jsonReceiver()) receiver->onResponseJSON(json, responseCode);
}
