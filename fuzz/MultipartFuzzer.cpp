// The local server's multipart reader on arbitrary content types and bodies
// (blob uploads arrive this way). Round trip: the parts read, framed again
// with the same boundary, read to the same parts.
// Fuzz sources: localserver/src/Multipart.cpp
#include <algorithm>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "localserver/Multipart.h"

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool oneLine(const std::string& text) { return text.find_first_of("\r\n") == std::string::npos; }

}  // namespace

// Input: the Content-Type value, a line feed, the body. A content type
// without a usable boundary stands for the client's fixed one.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t newline = std::min(input.find('\n'), input.size());
    const std::string_view contentType = input.substr(0, newline);
    const std::string_view body = input.substr(std::min(newline + 1, input.size()));
    const std::string boundary = localserver::multipartBoundary(contentType).value_or("sadf8as9fha3fpaef8ah");
    const auto parts = localserver::parseMultipart(body, boundary);
    if (!parts) return 0;

    std::string framed;
    for (const auto& part : *parts) {
        if (!oneLine(part.name) || !oneLine(part.filename.value_or("")) || !oneLine(part.contentType)) return 0;
        framed += "--" + boundary + "\r\nContent-Disposition: form-data; name=" + quoted(part.name);
        if (part.filename) framed += "; filename=" + quoted(*part.filename);
        framed += "\r\n";
        if (!part.contentType.empty()) framed += "Content-Type: " + part.contentType + "\r\n";
        framed += "\r\n" + part.bytes + "\r\n";
    }
    framed += "--" + boundary + "--\r\n";
    const auto again = localserver::parseMultipart(framed, boundary);
    fuzz::check(again.has_value() && again->size() == parts->size(), "reframed multipart body does not read back");
    for (size_t i = 0; i < parts->size(); ++i) {
        const auto& a = (*parts)[i];
        const auto& b = (*again)[i];
        fuzz::check(a.name == b.name && a.filename == b.filename && a.contentType == b.contentType && a.bytes == b.bytes,
                    "multipart read, framed and read again differs");
    }
    return 0;
}
