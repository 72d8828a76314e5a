// HCJsonCoder::decodeJson: yajl's event parser feeding a stack of frames.
//
// Class-tagged maps are recognised while streaming: when a map's first key
// names a registered class and its value opens a map, that inner map is read
// straight into a new instance through the class's value map, so no
// intermediate dictionary is built for it.
#include <yajl/yajl_parse.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <vector>

#include "kernel/json/HCJsonCoder.h"
#include "kernel/json/JsonClassTable.h"
#include "kernel/json/JsonText.h"
#include "platform/foundation/Values.h"

namespace {

using platform::ObjectPtr;
using hcjson::ClassEntryPtr;

struct Frame {
    enum Kind { List, Map, Fields };
    explicit Frame(Kind k) : kind(k) {}

    Kind kind;
    std::shared_ptr<platform::Array> array;      // List
    std::shared_ptr<platform::Dictionary> dict;  // Map
    std::string key;                             // Map, Fields: key of the value that comes next
    size_t keyCount = 0;                         // Map
    ClassEntryPtr tag;                           // Map: class named by the first key
    ObjectPtr tagged;                            // Map: instance read from the first key's value
    ObjectPtr instance;                          // Fields
    ClassEntryPtr entry;                         // Fields: may be null (class without a value map)
};

class Decoder {
public:
    explicit Decoder(std::shared_ptr<const hcjson::ClassTable> table) : table_(std::move(table)) {}

    ObjectPtr result() const { return root_; }

    bool onNull() { return deliver(nullptr, false); }
    bool onBool(bool value) { return deliver(platform::Number::makeBool(value), false); }
    bool onNumber(const char* text, size_t length) { return deliver(parseNumber(std::string(text, length)), false); }
    bool onString(const unsigned char* text, size_t length)
    {
        std::string_view value(reinterpret_cast<const char*>(text), length);
        if (!hcjson::isValidUtf8(value)) return false;
        return deliver(platform::String::make(std::string(value)), false);
    }

    bool onStartMap()
    {
        if (frames_.size() >= static_cast<size_t>(HCJsonCoder::kMaxDecodeDepth)) return false;
        if (!frames_.empty()) {
            Frame& top = frames_.back();
            if (top.kind == Frame::Map && top.tag && top.keyCount == 1 && !top.tagged) {
                if (pushFields(top.tag->className, top.tag)) return true;
            } else if (top.kind == Frame::Fields && top.entry) {
                auto it = top.entry->valueMap.find(top.key);
                if (it != top.entry->valueMap.end() && it->second && it->second->knownClassName()) {
                    const std::string& known = *it->second->knownClassName();
                    if (pushFields(known, table_->findClassName(known))) return true;
                }
            }
        }
        Frame frame(Frame::Map);
        frame.dict = platform::Dictionary::make();
        frames_.push_back(std::move(frame));
        return true;
    }

    bool onMapKey(const unsigned char* text, size_t length)
    {
        std::string_view key(reinterpret_cast<const char*>(text), length);
        if (frames_.empty() || !hcjson::isValidUtf8(key)) return false;
        Frame& top = frames_.back();
        top.key.assign(key);
        if (top.kind == Frame::Map && top.keyCount++ == 0) top.tag = table_->findJsonName(top.key);
        return true;
    }

    bool onEndMap()
    {
        if (frames_.empty()) return false;
        Frame frame = std::move(frames_.back());
        frames_.pop_back();
        if (frame.kind == Frame::Fields) return deliver(std::move(frame.instance), true);
        return deliver(frame.tagged ? std::move(frame.tagged) : ObjectPtr(std::move(frame.dict)), false);
    }

    bool onStartArray()
    {
        if (frames_.size() >= static_cast<size_t>(HCJsonCoder::kMaxDecodeDepth)) return false;
        Frame frame(Frame::List);
        frame.array = platform::Array::make();
        frames_.push_back(std::move(frame));
        return true;
    }

    bool onEndArray()
    {
        if (frames_.empty()) return false;
        auto array = std::move(frames_.back().array);
        frames_.pop_back();
        return deliver(std::move(array), false);
    }

private:
    bool pushFields(const std::string& className, ClassEntryPtr entry)
    {
        auto instance = platform::ClassRegistry::create(className);
        if (!instance) return false;
        Frame frame(Frame::Fields);
        frame.instance = std::move(instance);
        frame.entry = std::move(entry);
        frames_.push_back(std::move(frame));
        return true;
    }

    // `built` marks an instance read from a map by pushFields(): only such a
    // value fills a tagged map or a known-class field.
    bool deliver(ObjectPtr value, bool built)
    {
        if (frames_.empty()) {
            root_ = std::move(value);
            return true;
        }
        Frame& top = frames_.back();
        switch (top.kind) {
        case Frame::List:
            top.array->add(std::move(value));
            break;
        case Frame::Map:
            if (top.tagged) break;  // keys after the class tag are dropped
            if (built && top.tag && top.keyCount == 1)
                top.tagged = std::move(value);
            else
                top.dict->setObject(top.key, std::move(value));
            break;
        case Frame::Fields: {
            if (!top.entry) break;
            auto it = top.entry->valueMap.find(top.key);
            if (it == top.entry->valueMap.end() || !it->second) break;
            const HCJsonValue& type = *it->second;
            if (type.knownClassName() && !built) break;
            type.apply(*top.instance, value);
            break;
        }
        }
        return true;
    }

    static ObjectPtr parseNumber(const std::string& text)
    {
        // yajl has checked the grammar: an optional '-', digits, then an
        // optional fraction and exponent.
        if (text.find_first_of(".eE") == std::string::npos) {
            errno = 0;
            char* end = nullptr;
            long long value = std::strtoll(text.c_str(), &end, 10);
            if (errno != ERANGE) return platform::Number::make(value);
        }
        // The C locale, so that a host's decimal comma cannot change the reading.
        static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        return platform::Number::makeDouble(strtod_l(text.c_str(), nullptr, cLocale));
    }

    std::shared_ptr<const hcjson::ClassTable> table_;
    std::vector<Frame> frames_;
    ObjectPtr root_;
};

// A throwing setter or factory must not unwind through yajl's C frames: the
// parse is cancelled instead.
template <class F>
int guarded(F&& f)
{
    try {
        return f() ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

Decoder& decoder(void* ctx)
{
    return *static_cast<Decoder*>(ctx);
}

const yajl_callbacks kCallbacks = {
    [](void* ctx) { return guarded([&] { return decoder(ctx).onNull(); }); },
    [](void* ctx, int value) { return guarded([&] { return decoder(ctx).onBool(value != 0); }); },
    nullptr,
    nullptr,
    [](void* ctx, const char* text, size_t length) {
        return guarded([&] { return decoder(ctx).onNumber(text, length); });
    },
    [](void* ctx, const unsigned char* text, size_t length) {
        return guarded([&] { return decoder(ctx).onString(text, length); });
    },
    [](void* ctx) { return guarded([&] { return decoder(ctx).onStartMap(); }); },
    [](void* ctx, const unsigned char* text, size_t length) {
        return guarded([&] { return decoder(ctx).onMapKey(text, length); });
    },
    [](void* ctx) { return guarded([&] { return decoder(ctx).onEndMap(); }); },
    [](void* ctx) { return guarded([&] { return decoder(ctx).onStartArray(); }); },
    [](void* ctx) { return guarded([&] { return decoder(ctx).onEndArray(); }); },
};

}  // namespace

platform::ObjectPtr HCJsonCoder::decodeJson(std::string_view text)
{
    Decoder state(hcjson::ClassTable::snapshot());
    yajl_handle parser = yajl_alloc(&kCallbacks, nullptr, &state);
    if (!parser) return nullptr;
    // Texts are checked here, more strictly than yajl does (it lets overlong
    // forms, surrogates and values above U+10FFFF through).
    yajl_config(parser, yajl_dont_validate_strings, 1);
    static const unsigned char kEmpty[1] = {0};
    const auto* bytes = text.empty() ? kEmpty : reinterpret_cast<const unsigned char*>(text.data());
    yajl_status status = yajl_parse(parser, bytes, text.size());
    if (status == yajl_status_ok) status = yajl_complete_parse(parser);
    yajl_free(parser);
    return status == yajl_status_ok ? state.result() : nullptr;
}
