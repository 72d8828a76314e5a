#pragma once
// Writes an object graph of values and Coding objects into bytes (the layout
// is in KeyedArchiveFormat.h).
//
// Values: nil, String, Number (boolean, integer and real kept apart), Data,
// Date, Array, Dictionary and any object that implements Coding. Anything else
// makes the whole archive fail, as does nesting deeper than the format allows
// (which also stops a graph that contains itself).
//
// Thread: any thread; one archiver is used by one thread.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/Values.h"

namespace platform {

class KeyedArchiver {
public:
    // nil when something in the graph cannot be archived.
    static std::shared_ptr<Data> archivedDataWithRootObject(const ObjectPtr& root);

    // Encoding a key again replaces its earlier value.
    void encodeObject(const std::string& key, const ObjectPtr& value);
    void encodeBool(const std::string& key, bool value);
    void encodeInteger(const std::string& key, long long value);
    void encodeDouble(const std::string& key, double value);

    const std::vector<std::pair<std::string, ObjectPtr>>& entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, ObjectPtr>> entries_;
};

}  // namespace platform
