#pragma once
// Class-tagged JSON: decodes service replies into values and registered
// classes, and writes coding objects as {"<class name>": {fields...}}.
//
// Decoding: maps become platform::Dictionary (in document order; a key whose
// value is null is left out, since reading it gives nullptr anyway), lists
// platform::Array (null items stay as nullptr), texts String, numbers Number
// (integers as long long unless they overflow it, then double), booleans
// Number(bool). A map whose first key is the JSON name of a registered class,
// with a map as that key's value, becomes an instance of the class filled from
// the inner map through the class's value map; the outer map's later keys are
// dropped. Text that does not parse, invalid UTF-8 and nesting deeper than
// kMaxDecodeDepth decode to nullptr.
//
// Thread: decodeJson() and encodeObject() may run on any thread at once;
// registration happens at program load (HCJsonCodingRegistration).
#include <memory>
#include <string>
#include <string_view>

#include "kernel/json/HCJsonCoding.h"
#include "kernel/json/HCJsonValue.h"
#include "platform/runtime/ClassRegistry.h"

class HCJsonCoder {
public:
    static constexpr int kMaxDecodeDepth = 512;
    // Containers nested deeper than this while encoding are written as null.
    static constexpr int kMaxEncodeDepth = 120;

    // Records the class registered in platform::ClassRegistry as `className`
    // under T::classNameForJsonCoding(), with its decoding map. A later
    // registration of the same JSON name replaces the earlier one.
    template <class T>
    static void registerClass(const std::string& className, HCJsonValueMap valueMap)
    {
        registerClassNamed(className, T::classNameForJsonCoding(), std::move(valueMap));
    }
    static void registerClassNamed(const std::string& className, const std::string& jsonName, HCJsonValueMap valueMap);

    // nullptr when the text is not one complete JSON value (or is JSON null).
    static platform::ObjectPtr decodeJson(std::string_view text);

    // {"<jsonCodingName>": {what encodeWithJsonCoder writes}}.
    static std::string encodeObject(const HCJsonCoding& object);

    // Writes one entry while an object encodes itself: a Number made from a
    // boolean as true/false, other numbers as numbers (NaN and infinities as
    // null), texts as strings (invalid UTF-8 replaced by U+FFFD), arrays and
    // dictionaries as lists and maps, coding objects as the map of their fields
    // (untagged, as HCJsonObjectValue::valueWithKnownClass reads them), and
    // nil or any other object as null.
    void encodeObject(const platform::ObjectPtr& value, const std::string& key);

    HCJsonCoder(const HCJsonCoder&) = delete;
    HCJsonCoder& operator=(const HCJsonCoder&) = delete;
    ~HCJsonCoder();

private:
    struct Writer;
    HCJsonCoder();
    void writeValue(const platform::ObjectPtr& value);
    void writeFields(const HCJsonCoding& object);

    std::unique_ptr<Writer> writer_;
};

// Registers a coding class with platform::ClassRegistry and with the coder.
// Define one at namespace scope in the class's source file:
//   static HCJsonCodingRegistration<HCDevice> sDeviceCoding("HCDevice");
// The object file must be linked for this to run: a class whose file nothing
// else references needs a reference from its layer's start-up.
template <class T>
class HCJsonCodingRegistration {
public:
    explicit HCJsonCodingRegistration(const std::string& className)
    {
        platform::registerClass<T>(className);
        HCJsonValueMap map;
        T::registerJsonValueTypesForDecoding(map);
        HCJsonCoder::registerClass<T>(className, std::move(map));
    }
};
