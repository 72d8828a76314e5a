#pragma once
// Objects that can be written into a keyed archive and rebuilt from one.
//
// A coding class registers itself with registerCodingClass<T>(its
// classNameForCoding()); the unarchiver creates it from that name and then
// calls initWithCoder with the keys that encodeWithCoder wrote. A name that
// was registered in platform::ClassRegistry some other way is never created
// from an archive: the data decides only among classes made to be decoded.
//
// Thread: as the implementing class; archiving runs on the caller's thread;
// registration from any thread.
#include <string>
#include <type_traits>

#include "platform/runtime/ClassRegistry.h"

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

// Marks `name` as one the unarchiver may create; registerCodingClass calls it.
void markCodingClass(const std::string& name);
bool isCodingClass(const std::string& name);

template <class T>
void registerCodingClass(const std::string& name)
{
    static_assert(std::is_base_of_v<Coding, T> && std::is_base_of_v<Object, T>);
    registerClass<T>(name);
    markCodingClass(name);
}

}  // namespace platform
