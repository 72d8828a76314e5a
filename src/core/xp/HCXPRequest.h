#pragma once
// One request of the service's JSON API: a path below the service root, a
// method, its arguments as a query or a form body, the product signature in
// the "X-HC-Key" and "X-HC-Signature" headers, and up to three receivers for
// the outcome (text, bytes, decoded JSON).
//
// A caller builds it with one of the class-level constructors (each makes
// an instance of the class it is called on, so
// HCResourceRequest::postRequestWithPath<HCResourceRequest>(...) yields an
// HCResourceRequest), sets flags and receivers, and calls execute(), which
// hands it to the session: the session signs it and starts, queues or fails
// it. Each outcome reaches the receivers once: the reply with its HTTP
// status; a transport failure as a client-made "ServerException" with status
// 0; a missing session as "SessionFailure" with status 0. A 401 with
// retryIfNotLoggedIn set and a known last user starts a re-login and sends
// the request once more; the retried request never retries again.
//
// Ownership: the request and its transport request keep each other alive
// while it is in flight; the delivery ends the pair. Callers need not keep
// the request.
//
// Thread: main (construction, signing, execute, delivery). Only
// requestFinishedOnRequestThread runs on the transport's thread, and it
// fills the reply fields that nothing reads before the delivery.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/xp/HCXPResponse.h"
#include "platform/foundation/Values.h"
#include "transport/http/NetHTTPRequest.h"

class HCXPRequest : public platform::Object, public NetHTTPRequestDelegate {
public:
    static constexpr double kTimeOutSeconds = 20;
    static constexpr int kRetriesOnTimeout = 2;
    // The whole request, its retries included: room for three silent tries,
    // yet a reply that trickles in ends before the player gives up waiting.
    static constexpr double kDeadlineSeconds = 90;
    static constexpr const char* kFormContentType = "application/x-www-form-urlencoded; charset=UTF-8";
    static constexpr const char* kSessionFailureMessage = "Request failed due to device/user session failure.";
    static constexpr const char* kUnknownConnectionFailure = "Unknown connection failure";

    // Which transport carries the request: a plain request (GET, DELETE) or a form.
    enum class NetClass { Get, Form };

    HCXPRequest() = default;
    ~HCXPRequest() override;

    // --- Constructors ---------------------------------------------------------
    // A request with the defaults and no transport yet.
    template <class R = HCXPRequest>
    static std::shared_ptr<R> request() { return std::make_shared<R>(); }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> requestWithPath(const std::string& path, NetClass netClass)
    {
        auto r = std::make_shared<R>();
        r->setUp(path, netClass, std::nullopt);
        return r;
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> getRequestWithPath(const std::string& path)
    {
        return requestWithPath<R>(path, NetClass::Get);
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> getRequestWithPath(const std::string& path,
                                                 const std::shared_ptr<platform::Dictionary>& query)
    {
        return requestWithPath<R>(embedQueryInPath(path, query), NetClass::Get);
    }
    // The path becomes "path?query", even for an empty query text.
    template <class R = HCXPRequest>
    static std::shared_ptr<R> getRequestWithPathAndQueryString(const std::string& path, const std::string& query)
    {
        return requestWithPath<R>(path + "?" + query, NetClass::Get);
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> deleteRequestWithPath(const std::string& path)
    {
        auto r = std::make_shared<R>();
        r->setUp(path, NetClass::Get, "DELETE");
        return r;
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> deleteRequestWithPath(const std::string& path,
                                                    const std::shared_ptr<platform::Dictionary>& query)
    {
        return deleteRequestWithPath<R>(embedQueryInPath(path, query));
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> postRequestWithPath(const std::string& path,
                                                  const std::shared_ptr<platform::Dictionary>& body)
    {
        auto r = std::make_shared<R>();
        r->setUpForm(path, "POST", body);
        return r;
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> putRequestWithPath(const std::string& path,
                                                 const std::shared_ptr<platform::Dictionary>& body)
    {
        auto r = std::make_shared<R>();
        r->setUpForm(path, "PUT", body);
        return r;
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> postRequestWithPathAndBodyString(const std::string& path, const std::string& body)
    {
        auto r = std::make_shared<R>();
        r->setUpFormText(path, "POST", body);
        return r;
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> putRequestWithPathAndBodyString(const std::string& path, const std::string& body)
    {
        auto r = std::make_shared<R>();
        r->setUpFormText(path, "PUT", body);
        return r;
    }
    // By method name ("GET", "POST", "PUT", "DELETE", compared exactly);
    // nil for any other. A DELETE carries its arguments as its query, so
    // that they reach the service and its signature covers them.
    template <class R = HCXPRequest>
    static std::shared_ptr<R> requestWithPath(const std::string& path, const std::string& method,
                                              const std::shared_ptr<platform::Dictionary>& args)
    {
        if (method == "GET") return getRequestWithPath<R>(path, args);
        if (method == "POST") return postRequestWithPath<R>(path, args);
        if (method == "PUT") return putRequestWithPath<R>(path, args);
        if (method == "DELETE") return deleteRequestWithPath<R>(path, args);
        return nullptr;
    }
    template <class R = HCXPRequest>
    static std::shared_ptr<R> requestWithPathAndArgString(const std::string& path, const std::string& method,
                                                          const std::string& args)
    {
        if (method == "GET") return getRequestWithPathAndQueryString<R>(path, args);
        if (method == "POST") return postRequestWithPathAndBodyString<R>(path, args);
        if (method == "PUT") return putRequestWithPathAndBodyString<R>(path, args);
        if (method == "DELETE") return deleteRequestWithPath<R>(args.empty() ? path : path + "?" + args);
        return nullptr;
    }

    // "path?query", or the path alone when the arguments give no query text.
    static std::string embedQueryInPath(const std::string& path, const std::shared_ptr<platform::Dictionary>& query);
    // The service root followed by the path without one leading "/".
    static std::string urlForPath(const std::string& path);

    // --- Receivers (each returns the request, for chaining) -------------------
    std::shared_ptr<HCXPRequest> onRespondText(std::shared_ptr<HCXPResponseText> receiver);
    std::shared_ptr<HCXPRequest> onRespondData(std::shared_ptr<HCXPResponseData> receiver);
    std::shared_ptr<HCXPRequest> onRespondJSON(std::shared_ptr<HCXPResponseJSON> receiver);

    // --- Operations -----------------------------------------------------------
    // Hands the request to the session; without a session it fails at once
    // with the session failure.
    void execute();
    // What a request class does before it is sent (HCResourceRequest makes
    // itself its JSON receiver); the session calls it for its own requests.
    virtual void prepareToExecute() {}
    // Sends the request again on a copy of its transport request (same
    // headers, so the same signature), through the session's queue.
    void retry();
    // Adds the signature headers once, when a signature is required.
    void signWithKey(const std::string& key, const std::string& secret);
    // The "SessionFailure" outcome with the given status.
    void forceFailure(uint32_t responseCode);
    void failWithExceptionClass(const std::string& className, const std::string& message, uint32_t responseCode);
    // Starts the transport request (the session calls it when it sends).
    void startTransport();
    // Stops the transport request and lets it go: no receiver hears of this
    // request any more.
    void cancel();

    // The text the signature is computed over, for this request as it will be sent.
    std::string signatureBaseText(const std::string& secret) const;

    // --- Fields ---------------------------------------------------------------
    const std::string& path() const { return path_; }
    const std::shared_ptr<NetHTTPRequest>& request() const { return request_; }
    void setRequest(std::shared_ptr<NetHTTPRequest> request);
    bool retryIfNotLoggedIn() const { return retryIfNotLoggedIn_; }
    void setRetryIfNotLoggedIn(bool value) { retryIfNotLoggedIn_ = value; }
    bool isSigned() const { return isSigned_; }
    bool requiresSignature() const { return requiresSignature_; }
    void setRequiresSignature(bool value) { requiresSignature_ = value; }
    bool requiresUserSession() const { return requiresUserSession_; }
    void setRequiresUserSession(bool value) { requiresUserSession_ = value; }
    bool requiresDeviceSession() const { return requiresDeviceSession_; }
    void setRequiresDeviceSession(bool value) { requiresDeviceSession_ = value; }
    std::optional<std::string> responseAsString() const;
    platform::ObjectPtr responseAsJson() const;
    std::shared_ptr<platform::Data> responseAsData() const;

    // --- Transport (called by the transport request) --------------------------
    // Decodes the reply for the receivers that are set, on the transport's thread.
    void requestFinishedOnRequestThread(const NetHTTPRequest& transport);
    void requestFinished(const std::shared_ptr<NetHTTPRequest>& request) override;
    void requestFailed(const std::shared_ptr<NetHTTPRequest>& request) override;

protected:
    // Makes the request its own JSON receiver.
    void receiveOwnJSON() { receivesOwnJSON_ = true; }
    void clearJSONReceiver();

    void setUp(const std::string& path, NetClass netClass, const std::optional<std::string>& method);
    void setUpForm(const std::string& path, const std::string& method,
                   const std::shared_ptr<platform::Dictionary>& body);
    void setUpFormText(const std::string& path, const std::string& method, const std::string& body);

private:
    std::shared_ptr<HCXPResponseJSON> jsonReceiver();
    void deliver(const std::optional<std::string>& text, const std::shared_ptr<platform::Data>& data,
                 const platform::ObjectPtr& json, uint32_t responseCode);

    std::string path_;
    std::shared_ptr<NetHTTPRequest> request_;
    std::shared_ptr<HCXPResponseText> responseText_;
    std::shared_ptr<HCXPResponseData> responseData_;
    std::shared_ptr<HCXPResponseJSON> responseJSON_;
    bool receivesOwnJSON_ = false;
    bool retryIfNotLoggedIn_ = true;
    bool isSigned_ = false;
    bool requiresSignature_ = true;
    bool requiresUserSession_ = true;
    bool requiresDeviceSession_ = true;

    // Filled on the transport's thread before the delivery.
    mutable std::mutex replyMutex_;
    std::optional<std::string> responseAsString_;
    platform::ObjectPtr responseAsJson_;
    std::shared_ptr<platform::Data> responseAsData_;
};
