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
    auto parts = platform::URLParts::parse(url);
    if (!parts) return url;
    bool defaultPort = (parts->scheme == "http" && parts->port == 80) || (parts->scheme == "https" && parts->port == 443);
    return parts->scheme + "://" + parts->host + (defaultPort ? "" : ":" + std::to_string(parts->port)) + parts->path;
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

std::string OAuthNormalizedParameters(const OAuthParameterList& parameters)
{
    std::vector<std::pair<std::string, std::string>> encoded;
    encoded.reserve(parameters.size());
    for (auto& [name, value] : parameters) encoded.emplace_back(platform::percentEncode(name), platform::percentEncode(value));
    std::sort(encoded.begin(), encoded.end());
    std::string out;
    for (auto& [name, value] : encoded) {
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
    std::string upperMethod = method;
    std::transform(upperMethod.begin(), upperMethod.end(), upperMethod.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    return upperMethod + "&" + platform::percentEncode(OAuthNormalizedURL(url)) + "&" +
           platform::percentEncode(OAuthNormalizedParameters(all));
}
