#pragma once
// Rebuilds what KeyedArchiver wrote. Coded objects are created by class name
// through platform::ClassRegistry and filled by their initWithCoder.
//
// Data that is truncated, has bytes left over, carries an unknown tag or
// version, names a class that is not registered or does not implement Coding,
// or nests too deeply yields nil for the whole archive.
//
// Thread: any thread; initWithCoder runs on the caller's thread.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Values.h"

namespace platform {

class KeyedUnarchiver {
public:
    static ObjectPtr unarchiveObjectWithData(const std::shared_ptr<Data>& data);
    static ObjectPtr unarchiveObjectWithBytes(const uint8_t* bytes, size_t length);

    explicit KeyedUnarchiver(std::vector<std::pair<std::string, ObjectPtr>> entries) : entries_(std::move(entries)) {}

    bool containsValueForKey(const std::string& key) const;
    // nil when the key is absent or was encoded as nil.
    ObjectPtr decodeObjectForKey(const std::string& key) const;
    // A missing key, or a value that is not a number, reads as NO / 0.
    bool decodeBoolForKey(const std::string& key) const;
    long long decodeIntegerForKey(const std::string& key) const;
    double decodeDoubleForKey(const std::string& key) const;

private:
    const ObjectPtr* find(const std::string& key) const;

    std::vector<std::pair<std::string, ObjectPtr>> entries_;
};

}  // namespace platform
