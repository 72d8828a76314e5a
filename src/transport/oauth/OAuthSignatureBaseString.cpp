#include "transport/oauth/OAuthSignatureBaseString.h"

#include <algorithm>
#include <cctype>

#include "platform/net/PercentEncoding.h"
#include "platform/net/URLParts.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Form decoding: "+" is a space, malformed escapes stay as they are.
std::string formDecode(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::string OAuthNormalizedURL(const std::string& url)
{
    // A signing thread sends to the same URL again and again, and libcurl's
    // parse is a good part of a signature's cost: the last answer is kept.
    thread_local std::string lastURL;
    thread_local std::string lastNormalized;
    thread_local bool remembered = false;
    if (remembered && url == lastURL) return lastNormalized;
    auto parts = platform::URLParts::parse(url);
    std::string normalized = url;
    if (parts) {
        bool defaultPort =
            (parts->scheme == "http" && parts->port == 80) || (parts->scheme == "https" && parts->port == 443);
        normalized = parts->scheme + "://" + parts->host + (defaultPort ? "" : ":" + std::to_string(parts->port)) +
                     parts->path;
    }
    lastURL = url;
    lastNormalized = normalized;
    remembered = true;
    return normalized;
}

OAuthParameterList OAuthQueryParameters(const std::string& url)
{
    OAuthParameterList out;
    auto q = url.find('?');
    if (q == std::string::npos) return out;
    auto end = url.find('#', q);
    std::string_view query(url.data() + q + 1, (end == std::string::npos ? url.size() : end) - q - 1);
    while (!query.empty()) {
        auto amp = query.find('&');
        std::string_view pair = query.substr(0, amp);
        if (!pair.empty()) {
            auto eq = pair.find('=');
            if (eq == std::string_view::npos)
                out.emplace_back(formDecode(pair), "");
            else
                out.emplace_back(formDecode(pair.substr(0, eq)), formDecode(pair.substr(eq + 1)));
        }
        if (amp == std::string_view::npos) break;
        query.remove_prefix(amp + 1);
    }
    return out;
}

namespace {

// Every pair encoded into one buffer; the views are taken once it is complete.
class EncodedParameters {
public:
    explicit EncodedParameters(const OAuthParameterList& parameters)
    {
        std::vector<std::pair<size_t, size_t>> bounds;
        bounds.reserve(parameters.size() * 2);
        for (auto& [name, value] : parameters) {
            for (const std::string* raw : {&name, &value}) {
                const size_t start = text_.size();
                platform::appendPercentEncoded(text_, *raw);
                bounds.emplace_back(start, text_.size() - start);
            }
        }
        const std::string_view all(text_);
        pairs_.reserve(parameters.size());
        for (size_t i = 0; i < bounds.size(); i += 2)
            pairs_.emplace_back(all.substr(bounds[i].first, bounds[i].second),
                                all.substr(bounds[i + 1].first, bounds[i + 1].second));
    }

    std::vector<OAuthEncodedParameter>& pairs() { return pairs_; }

private:
    std::string text_;
    std::vector<OAuthEncodedParameter> pairs_;
};

}  // namespace

std::string OAuthNormalizedParameters(const OAuthParameterList& parameters)
{
    EncodedParameters encoded(parameters);
    std::sort(encoded.pairs().begin(), encoded.pairs().end());
    std::string out;
    for (auto& [name, value] : encoded.pairs()) {
        if (!out.empty()) out += '&';
        out += name;
        out += '=';
        out += value;
    }
    return out;
}

std::string OAuthSignatureBaseString(const std::string& method, const std::string& url,
                                     const OAuthParameterList& parameters)
{
    OAuthParameterList all = OAuthQueryParameters(url);
    all.insert(all.end(), parameters.begin(), parameters.end());
    EncodedParameters encoded(all);
    std::string out;
    appendOAuthSignatureBaseString(out, method, OAuthNormalizedURL(url), encoded.pairs());
    return out;
}

void appendOAuthSignatureBaseString(std::string& out, std::string_view method, std::string_view normalizedURL,
                                    std::vector<OAuthEncodedParameter>& parameters)
{
    std::sort(parameters.begin(), parameters.end());
    size_t pairBytes = 0;
    for (auto& [name, value] : parameters) pairBytes += name.size() + value.size() + 2;
    // The pairs are encoded a second time as they go in ("%" becomes "%25").
    out.reserve(out.size() + method.size() + 2 + normalizedURL.size() * 3 + pairBytes * 3);
    for (char c : method) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    out += '&';
    platform::appendPercentEncoded(out, normalizedURL);
    out += '&';
    bool first = true;
    for (auto& [name, value] : parameters) {
        if (!first) out += "%26";  // "&"
        first = false;
        platform::appendPercentEncoded(out, name);
        out += "%3D";  // "="
        platform::appendPercentEncoded(out, value);
    }
}
