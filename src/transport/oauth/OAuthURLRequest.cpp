#include "transport/oauth/OAuthURLRequest.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/UUID.h"
#include "platform/net/PercentEncoding.h"
#include "platform/runtime/Clock.h"
#include "transport/oauth/OAuthSignatureBaseString.h"
#include "transport/oauth/OAuthSignatureParameter.h"

OAuthURLRequest::OAuthURLRequest(std::string url, OAuthConsumer consumer, std::optional<OAuthToken> token)
    : url_(std::move(url)), consumer_(std::move(consumer)), token_(std::move(token))
{
}

void OAuthURLRequest::setNonceAndTimestamp(std::string nonce, std::string timestamp)
{
    fixedNonceAndTimestamp_ = std::make_pair(std::move(nonce), std::move(timestamp));
}

bool OAuthURLRequest::parametersInQuery() const
{
    return method_ == "GET" || method_ == "DELETE" || method_ == "HEAD";
}

bool OAuthURLRequest::hasBinaryParameter() const
{
    for (auto& p : parameters_)
        if (p.isBinary()) return true;
    return false;
}

std::string OAuthURLRequest::formEncodedParameters(const std::vector<URLRequestParameter>& parameters)
{
    std::string out;
    for (auto& p : parameters) {
        if (p.isBinary()) continue;
        if (!out.empty()) out += '&';
        out += platform::percentEncode(p.name());
        out += '=';
        out += platform::percentEncode(p.value());
    }
    return out;
}

std::string OAuthURLRequest::mimeTypeForDataType(const std::string& dataType)
{
    if (dataType == "png") return "image/png";
    if (dataType == "jpg" || dataType == "jpeg") return "image/jpeg";
    if (dataType == "gif") return "image/gif";
    if (dataType == "xml") return "application/xml";
    if (dataType == "txt") return "text/plain";
    if (dataType == "json") return "application/json";
    return "application/octet-stream";
}

std::string OAuthURLRequest::multipartBoundaryFor(const std::vector<URLRequestParameter>& parameters)
{
    auto heldByAPart = [&](const std::string& boundary) {
        auto holds = [&](const auto& bytes) {
            return std::search(bytes.begin(), bytes.end(), boundary.begin(), boundary.end()) != bytes.end();
        };
        return std::any_of(parameters.begin(), parameters.end(), [&](const URLRequestParameter& p) {
            return holds(p.name()) || holds(p.value()) || holds(p.blob()) || holds(p.dataType());
        });
    };
    std::string boundary = kMultipartBoundary;
    // A fresh UUID makes a second collision as good as impossible; a blob
    // that still holds it only costs another try.
    while (heldByAPart(boundary)) boundary = std::string(kMultipartBoundary) + "-" + platform::createUUIDString();
    return boundary;
}

std::vector<uint8_t> OAuthURLRequest::createMultipartFormContent(const std::vector<URLRequestParameter>& parameters,
                                                                 const std::string& boundary)
{
    std::vector<uint8_t> body;
    auto append = [&body](const std::string& text) { body.insert(body.end(), text.begin(), text.end()); };
    for (auto& p : parameters) {
        append("--" + boundary + "\r\n");
        if (p.isBinary()) {
            append("Content-Disposition: form-data; name=\"" + p.name() + "\"; filename=\"" + p.name() + "." +
                   p.dataType() + "\"\r\n");
            append("Content-Type: " + mimeTypeForDataType(p.dataType()) + "\r\n");
            append("Content-Transfer-Encoding: binary\r\n");
            append("\r\n");
            body.insert(body.end(), p.blob().begin(), p.blob().end());
            append("\r\n");
        } else {
            append("Content-Disposition: form-data; name=\"" + p.name() + "\"\r\n");
            append("\r\n");
            append(p.value());
            append("\r\n");
        }
    }
    append("--" + boundary + "--");
    return body;
}

platform::URLRequest OAuthURLRequest::prepare() const
{
    platform::URLRequest request;
    request.method = method_;
    request.timeoutSeconds = timeoutSeconds_;
    request.maxBodyBytes = maxBodyBytes_;
    request.useCookies = false;

    std::string url = url_;
    OAuthParameterList signedParameters;
    if (parametersInQuery()) {
        std::string query = formEncodedParameters(parameters_);
        if (!query.empty()) url += (url.find('?') == std::string::npos ? "?" : "&") + query;
    } else if (hasBinaryParameter()) {
        const std::string boundary = multipartBoundaryFor(parameters_);
        request.body = createMultipartFormContent(parameters_, boundary);
        request.headers.set("Content-Type", "multipart/form-data; boundary=" + boundary);
    } else {
        std::string form = formEncodedParameters(parameters_);
        request.body.assign(form.begin(), form.end());
        request.headers.set("Content-Type", "application/x-www-form-urlencoded");
        for (auto& p : parameters_) signedParameters.emplace_back(p.name(), p.value());
    }
    request.url = url;

    std::string nonce, timestamp;
    if (fixedNonceAndTimestamp_) {
        nonce = fixedNonceAndTimestamp_->first;
        timestamp = fixedNonceAndTimestamp_->second;
    } else {
        nonce = platform::createUUIDString();
        timestamp = std::to_string(static_cast<long long>(std::floor(platform::Clock::currentTime())));
    }
    OAuthParameterList oauth = {
        {"oauth_consumer_key", consumer_.key}, {"oauth_nonce", nonce},     {"oauth_signature_method", "HMAC-SHA1"},
        {"oauth_timestamp", timestamp},        {"oauth_version", "1.0"},
    };
    if (token_) oauth.emplace_back("oauth_token", token_->key);
    signedParameters.insert(signedParameters.end(), oauth.begin(), oauth.end());

    std::string base = OAuthSignatureBaseString(method_, url, signedParameters);
    std::string key = platform::percentEncode(consumer_.secret) + "&" + platform::percentEncode(token_ ? token_->secret : "");
    oauth.emplace_back("oauth_signature", OAuthSignatureParameter::HMAC_SHA1SignatureForText(base, key));

    std::string header = "OAuth realm=\"\"";
    for (auto& [name, value] : oauth) header += ", " + name + "=\"" + platform::percentEncode(value) + "\"";
    request.headers.set("Authorization", header);
    return request;
}
