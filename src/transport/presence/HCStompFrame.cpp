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
    partial_ = HCStompFrame();
    return status;
}

// Until the frame is whole, what is buffered from its start is all of it:
// past the limit it can only grow.
HCStompFrameReader::Status HCStompFrameReader::needMore()
{
    return buffer_.size() - start_ > max_ ? fail(Status::TooLarge) : Status::NeedMore;
}

std::optional<std::string_view> HCStompFrameReader::nextLine()
{
    const std::string_view view(buffer_);
    const auto end = view.find('\n', line_ + scanned_);
    if (end == std::string_view::npos) {
        scanned_ = view.size() - line_;
        return std::nullopt;
    }
    auto line = view.substr(line_, end - line_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line_ = end + 1;
    scanned_ = 0;
    return line;
}

std::optional<HCStompFrameReader::Status> HCStompFrameReader::readHeader(std::string_view line)
{
    // A header may hold no carriage return of its own: in the frames that
    // are not escaped it would read back as part of the line's end.
    if (line.find('\r') != std::string_view::npos) return Status::Malformed;
    auto colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return Status::Malformed;
    std::string name, value;
    if (escaped_) {
        if (!unescape(line.substr(0, colon), name) || !unescape(line.substr(colon + 1), value))
            return Status::Malformed;
    } else {
        name = std::string(line.substr(0, colon));
        value = std::string(line.substr(colon + 1));
    }
    if (name == "content-length" && !contentLength_) {
        std::size_t length = 0;
        auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), length);
        if (ec == std::errc::result_out_of_range) return Status::TooLarge;
        if (ec != std::errc() || end != value.data() + value.size() || value.empty()) return Status::Malformed;
        if (length > max_) return Status::TooLarge;
        contentLength_ = length;
    }
    partial_.headers.emplace_back(std::move(name), std::move(value));
    return std::nullopt;
}

HCStompFrameReader::Status HCStompFrameReader::next(HCStompFrame& frame)
{
    if (failed_) return *failed_;
    for (;;) {
        switch (part_) {
        case Part::Between:
            while (start_ < buffer_.size() && (buffer_[start_] == '\n' || buffer_[start_] == '\r')) {
                if (buffer_[start_] == '\n') ++heartBeats_;
                ++start_;
            }
            // Frames already taken leave the buffer once they are at least
            // as long as what is left, so that moving bytes stays linear.
            if (start_ > 0 && start_ >= buffer_.size() - start_) {
                buffer_.erase(0, start_);
                start_ = 0;
            }
            if (start_ == buffer_.size()) return Status::NeedMore;
            line_ = start_;
            scanned_ = 0;
            contentLength_.reset();
            part_ = Part::Command;
            break;
        case Part::Command: {
            auto line = nextLine();
            if (!line) return needMore();
            if (!isCommand(*line)) return fail(Status::Malformed);
            partial_.command = std::string(*line);
            escaped_ = escapesHeaders(partial_.command);
            part_ = Part::Headers;
            break;
        }
        case Part::Headers: {
            auto line = nextLine();
            if (!line) return needMore();
            if (line->empty()) {
                part_ = Part::Body;
                break;
            }
            if (auto broken = readHeader(*line)) return fail(*broken);
            break;
        }
        case Part::Body: {
            std::size_t bodyEnd = 0;
            if (contentLength_) {
                if (buffer_.size() - line_ < *contentLength_ + 1) return needMore();
                bodyEnd = line_ + *contentLength_;
                if (buffer_[bodyEnd] != '\0') return fail(Status::Malformed);
            } else {
                bodyEnd = buffer_.find('\0', line_ + scanned_);
                if (bodyEnd == std::string::npos) {
                    scanned_ = buffer_.size() - line_;
                    return needMore();
                }
            }
            if (bodyEnd + 1 - start_ > max_) return fail(Status::TooLarge);
            partial_.body.assign(buffer_, line_, bodyEnd - line_);
            frame = std::move(partial_);
            partial_ = HCStompFrame();
            start_ = bodyEnd + 1;
            part_ = Part::Between;
            return Status::Frame;
        }
        }
    }
}
