#include "localserver/Multipart.h"

#include <strings.h>

namespace localserver {

namespace {

std::string_view trimInMultipart(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Reads `; key=value` pairs of a header value after its leading token;
// values may be quoted with backslash escapes. False when malformed.
bool readHeaderParams(std::string_view text, std::vector<std::pair<std::string, std::string>>& out)
{
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        if (i == text.size()) {
            return true;
        }
        if (text[i] != ';') {
            return false;
        }
        ++i;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        const std::size_t equals = text.find('=', i);
        if (equals == std::string_view::npos) {
            return false;
        }
        std::string key(trimInMultipart(text.substr(i, equals - i)));
        if (key.empty()) {
            return false;
        }
        i = equals + 1;
        std::string value;
        if (i < text.size() && text[i] == '"') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char c = text[i++];
                if (c == '\\' && i < text.size()) {
                    value.push_back(text[i++]);
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    value.push_back(c);
                }
            }
            if (!closed) {
                return false;
            }
        } else {
            const std::size_t end = std::min(text.find(';', i), text.size());
            value = std::string(trimInMultipart(text.substr(i, end - i)));
            i = end;
        }
        out.emplace_back(std::move(key), std::move(value));
    }
}

bool readPartHeaders(std::string_view block, MultipartPart& part)
{
    bool named = false;
    std::size_t start = 0;
    while (start < block.size()) {
        std::size_t end = block.find("\r\n", start);
        if (end == std::string_view::npos) {
            end = block.size();
        }
        const std::string_view line = block.substr(start, end - start);
        start = end + 2;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            return false;
        }
        const std::string_view name = trimInMultipart(line.substr(0, colon));
        const std::string_view value = trimInMultipart(line.substr(colon + 1));
        if (equalsNoCase(name, "Content-Disposition")) {
            const std::size_t semicolon = std::min(value.find(';'), value.size());
            if (!equalsNoCase(trimInMultipart(value.substr(0, semicolon)), "form-data")) {
                return false;
            }
            std::vector<std::pair<std::string, std::string>> params;
            if (!readHeaderParams(value.substr(semicolon), params)) {
                return false;
            }
            for (auto& [key, text] : params) {
                if (equalsNoCase(key, "name")) {
                    part.name = text;
                    named = true;
                } else if (equalsNoCase(key, "filename")) {
                    part.filename = text;
                }
            }
        } else if (equalsNoCase(name, "Content-Type")) {
            part.contentType = std::string(value);
        }
    }
    return named;
}

}  // namespace

std::optional<std::string> multipartBoundary(std::string_view contentType)
{
    const std::size_t semicolon = std::min(contentType.find(';'), contentType.size());
    if (!equalsNoCase(trimInMultipart(contentType.substr(0, semicolon)), "multipart/form-data")) {
        return std::nullopt;
    }
    std::vector<std::pair<std::string, std::string>> params;
    if (!readHeaderParams(contentType.substr(semicolon), params)) {
        return std::nullopt;
    }
    for (auto& [key, value] : params) {
        if (equalsNoCase(key, "boundary") && !value.empty() && value.size() <= 70) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<MultipartPart>> parseMultipart(std::string_view body, std::string_view boundary)
{
    if (boundary.empty()) {
        return std::nullopt;
    }
    const std::string delimiter = "--" + std::string(boundary);
    const std::string innerDelimiter = "\r\n" + delimiter;

    std::size_t pos = 0;
    if (body.substr(0, delimiter.size()) != delimiter) {
        const std::size_t found = body.find(innerDelimiter);  // after a preamble
        if (found == std::string_view::npos) {
            return std::nullopt;
        }
        pos = found + 2;
    }

    std::vector<MultipartPart> parts;
    while (true) {
        std::size_t i = pos + delimiter.size();
        if (body.substr(i, 2) == "--") {
            return parts;  // the close delimiter; an epilogue is ignored
        }
        while (i < body.size() && (body[i] == ' ' || body[i] == '\t')) {
            ++i;
        }
        if (body.substr(i, 2) != "\r\n") {
            return std::nullopt;
        }
        i += 2;

        // A part without headers has no form-data name, so it is refused too.
        MultipartPart part;
        const std::size_t headersEnd = body.find("\r\n\r\n", i);
        if (headersEnd == std::string_view::npos || !readPartHeaders(body.substr(i, headersEnd - i), part)) {
            return std::nullopt;
        }
        const std::size_t contentStart = headersEnd + 4;
        const std::size_t contentEnd = body.find(innerDelimiter, contentStart);
        if (contentEnd == std::string_view::npos) {
            return std::nullopt;
        }
        part.bytes = std::string(body.substr(contentStart, contentEnd - contentStart));
        parts.push_back(std::move(part));
        pos = contentEnd + 2;
    }
}

}  // namespace localserver
