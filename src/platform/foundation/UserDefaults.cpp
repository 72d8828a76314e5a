#include "platform/foundation/UserDefaults.h"

#include "platform/foundation/FileFacts.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/PropertyListCopy.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListWriter.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/TextConversions.h"

namespace platform {
namespace {

std::mutex& sharedMutex()
{
    static std::mutex m;
    return m;
}

std::shared_ptr<UserDefaults>& sharedDefaults()
{
    static std::shared_ptr<UserDefaults> defaults;
    return defaults;
}

std::shared_ptr<Dictionary> loadFile(const std::string& path)
{
    auto dict = as<Dictionary>(PropertyListReader::readFile(path));
    return dict ? dict : Dictionary::make();
}

}  // namespace

UserDefaults::UserDefaults(std::string path)
    : path_(std::move(path)), values_(loadFile(path_)), registered_(Dictionary::make())
{
}

std::shared_ptr<UserDefaults> UserDefaults::standardUserDefaults()
{
    std::string path = Sandbox::preferencesPath();
    std::lock_guard lock(sharedMutex());
    auto& defaults = sharedDefaults();
    if (!defaults || defaults->path() != path) defaults = std::make_shared<UserDefaults>(path);
    return defaults;
}

void UserDefaults::resetStandardUserDefaults()
{
    std::lock_guard lock(sharedMutex());
    sharedDefaults().reset();
}

void UserDefaults::registerDefaults(const std::shared_ptr<Dictionary>& defaults)
{
    if (!defaults) return;
    auto copy = as<Dictionary>(copyPropertyList(defaults));
    if (!copy) {
        reportProgrammingError("UserDefaults::registerDefaults: the defaults are not a property list");
        return;
    }
    std::lock_guard lock(mutex_);
    for (auto& [key, value] : copy->entries()) registered_->setObject(key, value);
}

ObjectPtr UserDefaults::lookupLocked(const std::string& key) const
{
    if (auto value = values_->objectForKey(key)) return value;
    return registered_->objectForKey(key);
}

ObjectPtr UserDefaults::objectForKey(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    return copyPropertyList(lookupLocked(key));
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    ObjectPtr value = lookupLocked(key);
    if (auto s = as<String>(value)) return s->value();
    if (auto n = as<Number>(value)) return n->stringValue();
    return std::nullopt;
}

bool UserDefaults::boolForKey(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    ObjectPtr value = lookupLocked(key);
    if (auto n = as<Number>(value)) return n->boolValue();
    if (auto s = as<String>(value)) return boolValue(s->value());
    return false;
}

long UserDefaults::integerForKey(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    ObjectPtr value = lookupLocked(key);
    if (auto n = as<Number>(value)) return static_cast<long>(n->longLongValue());
    if (auto s = as<String>(value)) return integerValue(s->value());
    return 0;
}

double UserDefaults::doubleForKey(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    ObjectPtr value = lookupLocked(key);
    if (auto n = as<Number>(value)) return n->doubleValue();
    if (auto s = as<String>(value)) return doubleValue(s->value());
    return 0.0;
}

std::shared_ptr<Data> UserDefaults::dataForKey(const std::string& key) const
{
    return as<Data>(objectForKey(key));
}

std::shared_ptr<Array> UserDefaults::arrayForKey(const std::string& key) const
{
    return as<Array>(objectForKey(key));
}

std::shared_ptr<Dictionary> UserDefaults::dictionaryForKey(const std::string& key) const
{
    return as<Dictionary>(objectForKey(key));
}

void UserDefaults::setObject(const std::string& key, const ObjectPtr& value)
{
    if (!value) {
        removeObjectForKey(key);
        return;
    }
    // Checked here rather than at synchronize(), where one bad value would
    // keep every other change from reaching the disk.
    ObjectPtr copy = copyPropertyList(value);
    if (!copy || !PropertyListWriter::write(copy)) {
        reportProgrammingError("UserDefaults::setObject: the value for \"" + key + "\" is not a property list");
        return;
    }
    std::lock_guard lock(mutex_);
    values_->setObject(key, std::move(copy));
}

void UserDefaults::setBool(const std::string& key, bool value)
{
    setObject(key, Number::makeBool(value));
}

void UserDefaults::setInteger(const std::string& key, long value)
{
    setObject(key, Number::make(static_cast<long long>(value)));
}

void UserDefaults::setDouble(const std::string& key, double value)
{
    setObject(key, Number::makeDouble(value));
}

void UserDefaults::removeObjectForKey(const std::string& key)
{
    std::lock_guard lock(mutex_);
    values_->removeObjectForKey(key);
}

bool UserDefaults::synchronize()
{
    std::lock_guard lock(mutex_);
    auto text = PropertyListWriter::write(values_);
    if (!text) return false;
    return FileFacts::writeFileAtomically(path_, *text, 0600);
}

void UserDefaults::reload()
{
    auto loaded = loadFile(path_);
    std::lock_guard lock(mutex_);
    values_ = std::move(loaded);
}

}  // namespace platform
