#include "platform/foundation/Coding.h"

#include <mutex>
#include <set>

namespace platform {
namespace {
struct CodingClasses {
    std::mutex mutex;
    std::set<std::string> names;
};
// Never destroyed: archives may be read by objects torn down at exit.
CodingClasses& codingClasses()
{
    static auto* classes = new CodingClasses;
    return *classes;
}
}  // namespace

void markCodingClass(const std::string& name)
{
    auto& c = codingClasses();
    std::lock_guard lock(c.mutex);
    c.names.insert(name);
}

bool isCodingClass(const std::string& name)
{
    auto& c = codingClasses();
    std::lock_guard lock(c.mutex);
    return c.names.count(name) != 0;
}

}  // namespace platform
