#include "transport/http/NetStringEncoding.h"

#include <algorithm>

namespace {
std::string lowered(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; });
    return out;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}
}  // namespace

NetStringEncoding netStringEncodingForCharset(std::string_view ianaName)
{
    std::string name = lowered(trimmed(ianaName));
    if (name == "utf-8" || name == "utf8") return kNetUTF8StringEncoding;
    if (name == "us-ascii" || name == "ascii") return kNetASCIIStringEncoding;
    if (name == "iso-8859-1" || name == "iso_8859-1" || name == "latin1" || name == "iso-latin-1")
        return kNetISOLatin1StringEncoding;
    if (name == "windows-1252" || name == "cp1252") return kNetWindowsCP1252StringEncoding;
    if (name == "utf-16") return kNetUnicodeStringEncoding;
    return kNetNoStringEncoding;
}

NetStringEncoding netStringEncodingForContentType(const std::string& contentType)
{
    std::string_view rest(contentType);
    while (!rest.empty()) {
        auto semi = rest.find(';');
        std::string_view param = trimmed(rest.substr(0, semi));
        rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
        auto eq = param.find('=');
        if (eq == std::string_view::npos || lowered(trimmed(param.substr(0, eq))) != "charset") continue;
        std::string_view value = trimmed(param.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        return netStringEncodingForCharset(value);
    }
    return kNetNoStringEncoding;
}
