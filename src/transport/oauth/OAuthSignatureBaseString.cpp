#include "transport/oauth/OAuthSignatureBaseString.h"

#include <algorithm>
#include <cctype>

#include "platform/net/PercentEncoding.h"

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

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
    auto schemeEnd = url.find("://");
    if (schemeEnd == std::string::npos) return url;
    std::string scheme = lower(url.substr(0, schemeEnd));
    size_t authorityStart = schemeEnd + 3;
    size_t pathStart = url.find_first_of("/?#", authorityStart);
    std::string authority = url.substr(authorityStart, pathStart == std::string::npos ? std::string::npos
                                                                                       : pathStart - authorityStart);
    std::string path;
    if (pathStart != std::string::npos && url[pathStart] == '/') {
        size_t pathEnd = url.find_first_of("?#", pathStart);
        path = url.substr(pathStart, pathEnd == std::string::npos ? std::string::npos : pathEnd - pathStart);
    }
    if (path.empty()) path = "/";

    auto at = authority.rfind('@');
    if (at != std::string::npos) authority = authority.substr(at + 1);
    std::string host = authority;
    std::string port;
    auto colon = authority.rfind(':');
    if (colon != std::string::npos && authority.find(']', colon) == std::string::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    host = lower(host);
    bool defaultPort = port.empty() || (scheme == "http" && port == "80") || (scheme == "https" && port == "443");
    return scheme + "://" + host + (defaultPort ? "" : ":" + port) + path;
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
