#include "dashboard/HCWebActionURL.h"

#include <cctype>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecode(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

}  // namespace

bool HCWebActionURL::hasActionScheme(const std::string& url)
{
    const std::string scheme = std::string(kScheme) + ":";
    if (url.size() < scheme.size()) {
        return false;
    }
    for (size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(url[i])) != scheme[i]) {
            return false;
        }
    }
    return true;
}

std::optional<HCWebActionURL> HCWebActionURL::parse(const std::string& url)
{
    if (!hasActionScheme(url)) {
        return std::nullopt;
    }
    std::string rest = url.substr(std::string(kScheme).size() + 1);
    if (rest.rfind("//", 0) == 0) {
        rest.erase(0, 2);
    }
    rest = rest.substr(0, rest.find_first_of("?#"));
    HCWebActionURL parsed;
    bool first = true;
    size_t start = 0;
    while (true) {
        const size_t slash = rest.find('/', start);
        auto part = percentDecode(rest.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (!part) {
            return std::nullopt;
        }
        if (first) {
            parsed.action = std::move(*part);
            first = false;
        } else {
            parsed.arguments.push_back(std::move(*part));
        }
        if (slash == std::string::npos) {
            break;
        }
        start = slash + 1;
    }
    if (parsed.action.empty()) {
        return std::nullopt;
    }
    return parsed;
}
