#pragma once
// A service request signed with OAuth 1.0 (HMAC-SHA1, RFC 5849).
//
// GET and DELETE carry their parameters in the query string; other methods in
// a form-encoded body, or in a multipart body when a parameter is binary (the
// multipart parts are not part of the signature, as the RFC says). The OAuth
// protocol parameters travel in the Authorization header. Like every request
// to the service it shares the process's cookie store: the JSON session's
// "_hc_session" cookie goes with it, and its reply's cookies are kept.
//
// Thread: built on the caller's thread, signed on the provider's request
// thread; owned by one thread at a time.
#include <optional>
#include <string>
#include <vector>

#include "kernel/io/URLRequestParameter.h"
#include "platform/net/URLRequest.h"
#include "platform/runtime/Object.h"
#include "transport/oauth/OAuthCredentialStore.h"

struct OAuthConsumer {
    std::string key;
    std::string secret;
};

class OAuthURLRequest final : public platform::Object {
public:
    static constexpr const char* kMultipartBoundary = "sadf8as9fha3fpaef8ah";
    // Two minutes from start to outcome: a reply at the body cap still
    // arrives over a slow mobile link, and one that trickles in ends the
    // wait (the log-in's bootstrap, say) instead of holding it for good.
    static constexpr double kDeadlineSeconds = 120;

    OAuthURLRequest(std::string url, OAuthConsumer consumer, std::optional<OAuthToken> token);

    void setHTTPMethod(std::string method) { method_ = std::move(method); }
    const std::string& HTTPMethod() const { return method_; }
    void setParameters(std::vector<URLRequestParameter> parameters) { parameters_ = std::move(parameters); }
    const std::vector<URLRequestParameter>& parameters() const { return parameters_; }
    const std::string& url() const { return url_; }
    void setTimeoutSeconds(double seconds) { timeoutSeconds_ = seconds; }
    // The largest reply body the transfer takes (platform::URLRequest::maxBodyBytes).
    void setMaxBodyBytes(std::size_t bytes) { maxBodyBytes_ = bytes; }
    // The access token prepare() signs with; nullopt signs as the consumer alone.
    void setToken(std::optional<OAuthToken> token) { token_ = std::move(token); }

    // Fixes nonce and timestamp instead of a fresh UUID and the clock's time.
    void setNonceAndTimestamp(std::string nonce, std::string timestamp);

    // Signs the request and returns what goes on the wire.
    platform::URLRequest prepare() const;

    // The boundary that separates these parameters' parts: the service's usual
    // one, unless a part holds it (a blob may hold anything); then another,
    // which the request's content type carries.
    static std::string multipartBoundaryFor(const std::vector<URLRequestParameter>& parameters);
    // The multipart body of the parameters, byte for byte as the service expects it.
    static std::vector<uint8_t> createMultipartFormContent(const std::vector<URLRequestParameter>& parameters,
                                                           const std::string& boundary = kMultipartBoundary);
    // The MIME type of a binary parameter's data type ("png" -> "image/png").
    static std::string mimeTypeForDataType(const std::string& dataType);

private:
    bool parametersInQuery() const;
    bool hasBinaryParameter() const;

    std::string url_;
    std::string method_ = "GET";
    OAuthConsumer consumer_;
    std::optional<OAuthToken> token_;
    std::vector<URLRequestParameter> parameters_;
    double timeoutSeconds_ = 30;
    std::size_t maxBodyBytes_ = platform::URLRequest::kDefaultMaxBodyBytes;
    std::optional<std::pair<std::string, std::string>> fixedNonceAndTimestamp_;
};
