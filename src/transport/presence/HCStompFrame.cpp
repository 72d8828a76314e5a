#include "transport/presence/HCStompFrame.h"

#include <charconv>

namespace {

// CONNECT and CONNECTED keep their header bytes as they stand.
bool escapesHeaders(std::string_view command)
{
    return command != "CONNECT" && command != "CONNECTED";
}

void appendEscaped(std::string& out, std::string_view text)
{
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case ':': out += "\\c"; break;
        default: out += c;
        }
    }
}

// False for an escape the protocol does not define.
bool unescape(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 'c': out += ':'; break;
        default: return false;
        }
    }
    return true;
}

// One line from `pos`, without its end-of-line; nullopt until the line ends.
std::optional<std::string_view> lineAt(std::string_view buffer, std::size_t& pos)
{
    auto end = buffer.find('\n', pos);
    if (end == std::string_view::npos) return std::nullopt;
    auto line = buffer.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = end + 1;
    return line;
}

bool isCommand(std::string_view line)
{
    if (line.empty()) return false;
    for (char c : line)
        if (c < 'A' || c > 'Z') return false;
    return true;
}

}  // namespace

std::optional<std::string> HCStompFrame::header(std::string_view name) const
{
    for (const auto& [key, value] : headers)
        if (key == name) return value;
    return std::nullopt;
}

HCStompFrame& HCStompFrame::add(std::string name, std::string value)
{
    headers.emplace_back(std::move(name), std::move(value));
    return *this;
}

std::string HCStompFrame::encode() const
{
    const bool escape = escapesHeaders(command);
    std::string out = command + "\n";
    for (const auto& [name, value] : headers) {
        if (escape) {
            appendEscaped(out, name);
            out += ':';
            appendEscaped(out, value);
        } else {
            out += name + ":" + value;
        }
        out += '\n';
    }
    if (!body.empty() && !header("content-length")) out += "content-length:" + std::to_string(body.size()) + "\n";
    out += '\n';
    out += body;
    out += '\0';
    return out;
}

void HCStompFrameReader::append(std::string_view bytes)
{
    if (!failed_) buffer_.append(bytes);
}

HCStompFrameReader::Status HCStompFrameReader::fail(Status status)
{
    failed_ = status;
    buffer_.clear();
    buffer_.shrink_to_fit();
    return status;
}

HCStompFrameReader::Status HCStompFrameReader::next(HCStompFrame& frame)
{
    if (failed_) return *failed_;

    std::size_t start = 0;
    while (start < buffer_.size() && (buffer_[start] == '\n' || buffer_[start] == '\r')) {
        if (buffer_[start] == '\n') ++heartBeats_;
        ++start;
    }
    buffer_.erase(0, start);
    if (buffer_.empty()) return Status::NeedMore;

    const std::string_view view(buffer_);
    // Until the frame is whole, what is buffered is all of it: past the
    // limit it can only grow.
    const auto needMore = [&] { return buffer_.size() > max_ ? fail(Status::TooLarge) : Status::NeedMore; };

    std::size_t pos = 0;
    auto command = lineAt(view, pos);
    if (!command) return needMore();
    if (!isCommand(*command)) return fail(Status::Malformed);

    HCStompFrame parsed;
    parsed.command = std::string(*command);
    const bool escaped = escapesHeaders(parsed.command);
    std::optional<std::size_t> contentLength;
    for (;;) {
        auto line = lineAt(view, pos);
        if (!line) return needMore();
        if (line->empty()) break;
        // A header may hold no carriage return of its own: in the frames
        // that are not escaped it would read back as part of the line's end.
        if (line->find('\r') != std::string_view::npos) return fail(Status::Malformed);
        auto colon = line->find(':');
        if (colon == std::string_view::npos || colon == 0) return fail(Status::Malformed);
        std::string name, value;
        if (escaped) {
            if (!unescape(line->substr(0, colon), name) || !unescape(line->substr(colon + 1), value))
                return fail(Status::Malformed);
        } else {
            name = std::string(line->substr(0, colon));
            value = std::string(line->substr(colon + 1));
        }
        if (name == "content-length" && !parsed.header("content-length")) {
            std::size_t length = 0;
            auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), length);
            if (ec == std::errc::result_out_of_range) return fail(Status::TooLarge);
            if (ec != std::errc() || end != value.data() + value.size() || value.empty())
                return fail(Status::Malformed);
            if (length > max_) return fail(Status::TooLarge);
            contentLength = length;
        }
        parsed.headers.emplace_back(std::move(name), std::move(value));
    }

    std::size_t bodyEnd = 0;
    if (contentLength) {
        if (view.size() - pos < *contentLength + 1) return needMore();
        bodyEnd = pos + *contentLength;
        if (view[bodyEnd] != '\0') return fail(Status::Malformed);
    } else {
        bodyEnd = view.find('\0', pos);
        if (bodyEnd == std::string_view::npos) return needMore();
    }
    if (bodyEnd + 1 > max_) return fail(Status::TooLarge);
    parsed.body = std::string(view.substr(pos, bodyEnd - pos));
    buffer_.erase(0, bodyEnd + 1);
    frame = std::move(parsed);
    return Status::Frame;
}
