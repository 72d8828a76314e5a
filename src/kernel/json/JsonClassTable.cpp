#include "kernel/json/JsonClassTable.h"

#include <mutex>

namespace hcjson {
namespace {
std::mutex& tableMutex()
{
    static std::mutex m;
    return m;
}
std::shared_ptr<const ClassTable>& currentTable()
{
    static std::shared_ptr<const ClassTable> table = std::make_shared<ClassTable>();
    return table;
}
ClassEntryPtr find(const std::unordered_map<std::string, ClassEntryPtr>& map, const std::string& name)
{
    auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
}
}  // namespace

ClassEntryPtr ClassTable::findJsonName(const std::string& name) const
{
    return find(byJsonName, name);
}

ClassEntryPtr ClassTable::findClassName(const std::string& name) const
{
    return find(byClassName, name);
}

std::shared_ptr<const ClassTable> ClassTable::snapshot()
{
    std::lock_guard lock(tableMutex());
    return currentTable();
}

void ClassTable::add(ClassEntry entry)
{
    auto shared = std::make_shared<const ClassEntry>(std::move(entry));
    std::lock_guard lock(tableMutex());
    auto next = std::make_shared<ClassTable>(*currentTable());
    next->byJsonName[shared->jsonName] = shared;
    next->byClassName[shared->className] = shared;
    currentTable() = std::move(next);
}

}  // namespace hcjson
