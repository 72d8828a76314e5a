#include "kernel/json/HCJsonCoder.h"

#include <yajl/yajl_gen.h>

#include <cmath>

#include "kernel/json/JsonClassTable.h"
#include "kernel/json/JsonText.h"
#include "platform/foundation/Values.h"

struct HCJsonCoder::Writer {
    Writer() : gen(yajl_gen_alloc(nullptr)) {}
    ~Writer()
    {
        if (gen) yajl_gen_free(gen);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void string(std::string_view text)
    {
        std::string valid = hcjson::validUtf8(text);
        yajl_gen_string(gen, reinterpret_cast<const unsigned char*>(valid.data()), valid.size());
    }

    yajl_gen gen;
    int depth = 0;
};

HCJsonCoder::HCJsonCoder() : writer_(std::make_unique<Writer>()) {}

HCJsonCoder::~HCJsonCoder() = default;

void HCJsonCoder::registerClassNamed(const std::string& className, const std::string& jsonName,
                                     HCJsonValueMap valueMap)
{
    hcjson::ClassTable::add(hcjson::ClassEntry{className, jsonName, std::move(valueMap)});
}

std::string HCJsonCoder::encodeObject(const HCJsonCoding& object)
{
    HCJsonCoder coder;
    yajl_gen gen = coder.writer_->gen;
    if (!gen) return {};
    yajl_gen_map_open(gen);
    coder.writer_->string(object.jsonCodingName());
    coder.writeFields(object);
    yajl_gen_map_close(gen);

    const unsigned char* buffer = nullptr;
    size_t length = 0;
    if (yajl_gen_get_buf(gen, &buffer, &length) != yajl_gen_status_ok) return {};
    return std::string(reinterpret_cast<const char*>(buffer), length);
}

void HCJsonCoder::encodeObject(const platform::ObjectPtr& value, const std::string& key)
{
    if (!writer_->gen) return;
    writer_->string(key);
    writeValue(value);
}

void HCJsonCoder::writeFields(const HCJsonCoding& object)
{
    yajl_gen gen = writer_->gen;
    ++writer_->depth;
    yajl_gen_map_open(gen);
    object.encodeWithJsonCoder(*this);
    yajl_gen_map_close(gen);
    --writer_->depth;
}

void HCJsonCoder::writeValue(const platform::ObjectPtr& value)
{
    yajl_gen gen = writer_->gen;
    // A container nested this deep is almost surely a cycle; null keeps the
    // text well formed and the stack bounded.
    const bool tooDeep = writer_->depth >= kMaxEncodeDepth;
    if (!value) {
        yajl_gen_null(gen);
    } else if (auto number = std::dynamic_pointer_cast<platform::Number>(value)) {
        if (number->isBoolean()) {
            yajl_gen_bool(gen, number->boolValue());
        } else if (!number->isFloatingPoint()) {
            yajl_gen_integer(gen, number->longLongValue());
        } else if (std::isfinite(number->doubleValue())) {
            std::string text = hcjson::doubleText(number->doubleValue());
            yajl_gen_number(gen, text.data(), text.size());
        } else {
            yajl_gen_null(gen);
        }
    } else if (auto text = std::dynamic_pointer_cast<platform::String>(value)) {
        writer_->string(text->value());
    } else if (auto array = std::dynamic_pointer_cast<platform::Array>(value); array && !tooDeep) {
        ++writer_->depth;
        yajl_gen_array_open(gen);
        for (const auto& item : array->items()) writeValue(item);
        yajl_gen_array_close(gen);
        --writer_->depth;
    } else if (auto dict = std::dynamic_pointer_cast<platform::Dictionary>(value); dict && !tooDeep) {
        ++writer_->depth;
        yajl_gen_map_open(gen);
        for (const auto& [key, item] : dict->entries()) {
            writer_->string(key);
            writeValue(item);
        }
        yajl_gen_map_close(gen);
        --writer_->depth;
    } else if (auto coding = dynamic_cast<const HCJsonCoding*>(value.get()); coding && !tooDeep) {
        writeFields(*coding);
    } else {
        yajl_gen_null(gen);
    }
}
