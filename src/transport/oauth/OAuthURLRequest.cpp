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

namespace {

// Percent-encoded pieces appended to one buffer, known by offset while it
// grows and seen as views once it is complete.
class EncodedPieces {
public:
    explicit EncodedPieces(size_t rawBytes) { text_.reserve(rawBytes * 3); }

    size_t add(std::string_view raw)
    {
        const size_t start = text_.size();
        platform::appendPercentEncoded(text_, raw);
        bounds_.emplace_back(start, text_.size() - start);
        return bounds_.size() - 1;
    }
    std::string_view operator[](size_t piece) const
    {
        return std::string_view(text_).substr(bounds_[piece].first, bounds_[piece].second);
    }

private:
    std::string text_;
    std::vector<std::pair<size_t, size_t>> bounds_;
};

constexpr const char* kOAuthNames[] = {"oauth_consumer_key", "oauth_nonce", "oauth_signature_method",
                                      "oauth_timestamp",    "oauth_version", "oauth_token"};

}  // namespace

platform::URLRequest OAuthURLRequest::prepare() const
{
    platform::URLRequest request;
    request.method = method_;
    request.timeoutSeconds = timeoutSeconds_;
    request.deadlineSeconds = kDeadlineSeconds;
    request.maxBodyBytes = maxBodyBytes_;

    std::string nonce, timestamp;
    if (fixedNonceAndTimestamp_) {
        nonce = fixedNonceAndTimestamp_->first;
        timestamp = fixedNonceAndTimestamp_->second;
    } else {
        nonce = platform::createUUIDString();
        timestamp = std::to_string(static_cast<long long>(std::floor(platform::Clock::currentTime())));
    }
    const std::string_view oauthValues[] = {consumer_.key, nonce, "HMAC-SHA1", timestamp, "1.0",
                                            token_ ? std::string_view(token_->key) : std::string_view()};
    const size_t oauthCount = token_ ? 6 : 5;

    const bool inQuery = parametersInQuery();
    const bool multipart = !inQuery && hasBinaryParameter();
    // Each text parameter and OAuth value is encoded once: the query or form
    // text, the signed pairs and the header are all cut from these pieces.
    size_t rawBytes = 0;
    for (auto& p : parameters_) rawBytes += p.name().size() + p.value().size();
    for (size_t i = 0; i < oauthCount; ++i) rawBytes += oauthValues[i].size();
    EncodedPieces pieces(rawBytes);
    std::vector<size_t> parameterPieces;
    if (!multipart) {
        parameterPieces.reserve(parameters_.size() * 2);
        for (auto& p : parameters_) {
            if (p.isBinary()) continue;
            parameterPieces.push_back(pieces.add(p.name()));
            parameterPieces.push_back(pieces.add(p.value()));
        }
    }
    size_t oauthPieces[6] = {};
    for (size_t i = 0; i < oauthCount; ++i) oauthPieces[i] = pieces.add(oauthValues[i]);

    std::string form;
    form.reserve(rawBytes * 3 + parameterPieces.size());
    for (size_t i = 0; i < parameterPieces.size(); i += 2) {
        if (!form.empty()) form += '&';
        form += pieces[parameterPieces[i]];
        form += '=';
        form += pieces[parameterPieces[i + 1]];
    }

    std::string url = url_;
    if (inQuery) {
        if (!form.empty()) {
            url += url.find('?') == std::string::npos ? '?' : '&';
            url += form;
        }
    } else if (multipart) {
        const std::string boundary = multipartBoundaryFor(parameters_);
        request.body = createMultipartFormContent(parameters_, boundary);
        request.headers.set("Content-Type", "multipart/form-data; boundary=" + boundary);
    } else {
        const auto* bytes = reinterpret_cast<const uint8_t*>(form.data());
        request.body.assign(bytes, bytes + form.size());
        request.headers.set("Content-Type", "application/x-www-form-urlencoded");
    }

    // The signed pairs: the final URL's query as the server will read it
    // (for GET that includes the parameters just appended), the form
    // parameters of a form body, the OAuth ones. A multipart body is not signed.
    const OAuthParameterList queryParameters = OAuthQueryParameters(url);
    std::vector<std::string> encodedQuery;
    encodedQuery.reserve(queryParameters.size() * 2);
    std::vector<OAuthEncodedParameter> signedPairs;
    signedPairs.reserve(queryParameters.size() + parameterPieces.size() / 2 + oauthCount);
    for (auto& [name, value] : queryParameters) {
        encodedQuery.push_back(platform::percentEncode(name));
        encodedQuery.push_back(platform::percentEncode(value));
    }
    for (size_t i = 0; i < encodedQuery.size(); i += 2) signedPairs.emplace_back(encodedQuery[i], encodedQuery[i + 1]);
    if (!inQuery && !multipart)
        for (size_t i = 0; i < parameterPieces.size(); i += 2)
            signedPairs.emplace_back(pieces[parameterPieces[i]], pieces[parameterPieces[i + 1]]);
    for (size_t i = 0; i < oauthCount; ++i) signedPairs.emplace_back(kOAuthNames[i], pieces[oauthPieces[i]]);

    std::string base;
    appendOAuthSignatureBaseString(base, method_, OAuthNormalizedURL(url), signedPairs);
    std::string key;
    key.reserve((consumer_.secret.size() + (token_ ? token_->secret.size() : 0)) * 3 + 1);
    platform::appendPercentEncoded(key, consumer_.secret);
    key += '&';
    if (token_) platform::appendPercentEncoded(key, token_->secret);
    const std::string signature = OAuthSignatureParameter::HMAC_SHA1SignatureForText(base, key);

    std::string header;
    header.reserve(64 + rawBytes * 3 + 160);
    header += "OAuth realm=\"\"";
    for (size_t i = 0; i < oauthCount; ++i) {
        header += ", ";
        header += kOAuthNames[i];
        header += "=\"";
        header += pieces[oauthPieces[i]];
        header += '"';
    }
    header += ", oauth_signature=\"";
    platform::appendPercentEncoded(header, signature);
    header += '"';
    request.headers.set("Authorization", std::move(header));
    request.url = std::move(url);
    return request;
}
