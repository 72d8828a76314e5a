#pragma once
// What a class implements to be written by HCJsonCoder and, once registered
// with it, read back from class-tagged JSON.
//
// A coding class also provides two class-level functions, looked up by
// HCJsonCodingRegistration at program load:
//   static std::string classNameForJsonCoding();           // the JSON class name
//   static void registerJsonValueTypesForDecoding(HCJsonValueMap& map);
//
// Thread: encodeWithJsonCoder() runs on the thread that encodes.
#include <string>

class HCJsonCoder;

class HCJsonCoding {
public:
    virtual ~HCJsonCoding() = default;

    // Writes the object's fields with coder.encodeObject(value, key).
    virtual void encodeWithJsonCoder(HCJsonCoder& coder) const = 0;
    // The class's classNameForJsonCoding(), reached through an instance so
    // that the encoder can tag an object of any coding class.
    virtual std::string jsonCodingName() const = 0;
};
