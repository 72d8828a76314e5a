#include "platform/foundation/PropertyListReader.h"

#include <expat.h>

#include <charconv>
#include <climits>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/foundation/Base64.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/Values.h"

namespace platform {
namespace {

constexpr size_t kPropertyListReaderMaxDepth = 512;

enum class Kind { Plist, Dict, Array, Key, String, Integer, Real, True, False, Data, Date };

std::optional<Kind> kindOf(const char* name)
{
    static const struct {
        const char* name;
        Kind kind;
    } table[] = {{"dict", Kind::Dict},         {"array", Kind::Array}, {"key", Kind::Key},   {"string", Kind::String},
                 {"integer", Kind::Integer}, {"real", Kind::Real},   {"true", Kind::True}, {"false", Kind::False},
                 {"data", Kind::Data},       {"date", Kind::Date}};
    for (auto& entry : table)
        if (std::strcmp(entry.name, name) == 0) return entry.kind;
    return std::nullopt;
}

bool isContainer(Kind k)
{
    return k == Kind::Plist || k == Kind::Dict || k == Kind::Array;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

ObjectPtr readInteger(std::string_view text)
{
    text = trimmed(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    long long value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return nullptr;
    return Number::make(value);
}

ObjectPtr readReal(std::string_view text)
{
    text = trimmed(text);
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return nullptr;
    return Number::makeDouble(value);
}

struct Frame {
    Kind kind;
    std::string text;
    ObjectPtr container;
    std::optional<std::string> pendingKey;
    bool hasRoot = false;
};

class Parser {
public:
    Parser() : parser_(XML_ParserCreate("UTF-8"))
    {
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &Parser::onStart, &Parser::onEnd);
        XML_SetCharacterDataHandler(parser_, &Parser::onText);
        // Entities are not part of a property list; refusing them also rules
        // out entity-expansion attacks.
        XML_SetEntityDeclHandler(parser_, &Parser::onEntityDecl);
        XML_SetSkippedEntityHandler(parser_, &Parser::onSkippedEntity);
    }
    ~Parser() { XML_ParserFree(parser_); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    ObjectPtr run(const void* bytes, size_t length)
    {
        if (!parser_ || length > static_cast<size_t>(INT_MAX)) return nullptr;
        if (XML_Parse(parser_, static_cast<const char*>(bytes), static_cast<int>(length), XML_TRUE) != XML_STATUS_OK)
            return nullptr;
        if (failed_ || !done_) return nullptr;
        return result_;
    }

private:
    void fail()
    {
        if (!failed_) {
            failed_ = true;
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    void start(const char* name)
    {
        if (failed_) return;
        // The stack holds the plist element and then one frame per level, so
        // values nest as deep below the root as the writer lets them.
        if (stack_.size() > kPropertyListReaderMaxDepth + 1) return fail();
        if (stack_.empty()) {
            if (done_ || std::strcmp(name, "plist") != 0) return fail();
            stack_.push_back({Kind::Plist, {}, nullptr, std::nullopt});
            return;
        }
        Frame& parent = stack_.back();
        if (!isContainer(parent.kind)) return fail();
        auto kind = kindOf(name);
        if (!kind) return fail();
        if (parent.kind == Kind::Plist && parent.hasRoot) return fail();
        if (*kind == Kind::Key) {
            if (parent.kind != Kind::Dict || parent.pendingKey) return fail();
        } else if (parent.kind == Kind::Dict && !parent.pendingKey) {
            return fail();
        }
        Frame frame{*kind, {}, nullptr, std::nullopt};
        if (*kind == Kind::Dict) frame.container = Dictionary::make();
        if (*kind == Kind::Array) frame.container = Array::make();
        stack_.push_back(std::move(frame));
    }

    void end()
    {
        if (failed_ || stack_.empty()) return fail();
        Frame frame = std::move(stack_.back());
        stack_.pop_back();
        if (frame.kind == Kind::Plist) {
            if (!frame.hasRoot) return fail();
            done_ = true;
            return;
        }
        if (frame.kind == Kind::Key) {
            stack_.back().pendingKey = std::move(frame.text);
            return;
        }
        ObjectPtr value = valueOf(frame);
        if (!value) return fail();
        Frame& parent = stack_.back();
        switch (parent.kind) {
        case Kind::Plist:
            result_ = value;
            parent.hasRoot = true;
            break;
        case Kind::Dict:
            std::static_pointer_cast<Dictionary>(parent.container)->setObject(*parent.pendingKey, value);
            parent.pendingKey.reset();
            break;
        case Kind::Array: std::static_pointer_cast<Array>(parent.container)->add(value); break;
        default: fail(); break;
        }
    }

    ObjectPtr valueOf(Frame& frame)
    {
        switch (frame.kind) {
        case Kind::Dict: return frame.pendingKey ? nullptr : frame.container;
        case Kind::Array: return frame.container;
        case Kind::String: return String::make(std::move(frame.text));
        case Kind::Integer: return readInteger(frame.text);
        case Kind::Real: return readReal(frame.text);
        case Kind::True: return trimmed(frame.text).empty() ? Number::makeBool(true) : nullptr;
        case Kind::False: return trimmed(frame.text).empty() ? Number::makeBool(false) : nullptr;
        case Kind::Data: {
            auto bytes = base64Decode(frame.text);
            return bytes ? Data::make(std::move(*bytes)) : nullptr;
        }
        case Kind::Date: return DateFormatter::railsFormatter().dateFromString(trimmed(frame.text));
        default: return nullptr;
        }
    }

    void text(const char* s, int length)
    {
        if (failed_ || stack_.empty()) return;
        Frame& top = stack_.back();
        std::string_view chunk(s, static_cast<size_t>(length));
        if (isContainer(top.kind)) {
            if (!trimmed(chunk).empty()) fail();
            return;
        }
        top.text.append(chunk);
    }

    static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char**) { static_cast<Parser*>(self)->start(name); }
    static void XMLCALL onEnd(void* self, const XML_Char*) { static_cast<Parser*>(self)->end(); }
    static void XMLCALL onText(void* self, const XML_Char* s, int length) { static_cast<Parser*>(self)->text(s, length); }
    static void XMLCALL onEntityDecl(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                     const XML_Char*, const XML_Char*, const XML_Char*)
    {
        static_cast<Parser*>(self)->fail();
    }
    static void XMLCALL onSkippedEntity(void* self, const XML_Char*, int) { static_cast<Parser*>(self)->fail(); }

    XML_Parser parser_;
    std::vector<Frame> stack_;
    ObjectPtr result_;
    bool failed_ = false;
    bool done_ = false;
};

}  // namespace

ObjectPtr PropertyListReader::parse(const void* bytes, size_t length)
{
    Parser parser;
    return parser.run(bytes, length);
}

ObjectPtr PropertyListReader::readFile(const std::string& path)
{
    auto bytes = FileFacts::readFile(path);
    if (!bytes) return nullptr;
    return parse(*bytes);
}

}  // namespace platform
