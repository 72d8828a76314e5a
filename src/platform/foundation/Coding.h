#pragma once
// Objects that can be written into a keyed archive and rebuilt from one.
//
// A coding class registers a factory under its classNameForCoding() in
// platform::ClassRegistry; the unarchiver creates it from that name and then
// calls initWithCoder with the keys that encodeWithCoder wrote.
//
// Thread: as the implementing class; archiving runs on the caller's thread.
#include <string>

namespace platform {

class KeyedArchiver;
class KeyedUnarchiver;

class Coding {
public:
    virtual ~Coding() = default;
    virtual std::string classNameForCoding() const = 0;
    virtual void encodeWithCoder(KeyedArchiver& coder) const = 0;
    virtual void initWithCoder(const KeyedUnarchiver& coder) = 0;
};

}  // namespace platform
