#pragma once
// The application's small persistent settings: a dictionary of property-list
// values kept in the sandbox's preferences file, with registered defaults
// underneath that are never written to disk.
//
// Typed getters read what is stored leniently: a stored text answers
// boolForKey with its boolean reading ("YES" is YES) and integerForKey with
// its integer reading ("30" is 30); a stored number answers stringForKey with
// its digits. Containers go in and come out as copies, so no caller can
// change the stored values behind the lock.
//
// Changes stay in memory until synchronize(), which replaces the file
// atomically. A file that is missing, unreadable or corrupt loads as empty.
//
// Thread: any thread; every method takes the object's lock.
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Values.h"

namespace platform {

class UserDefaults final : public Object {
public:
    // Loads the file at `path`.
    explicit UserDefaults(std::string path);

    // The defaults in Sandbox::preferencesPath(); a new object when the
    // sandbox has moved since the last call.
    static std::shared_ptr<UserDefaults> standardUserDefaults();
    // Drops the shared object without saving it (tests).
    static void resetStandardUserDefaults();

    // Adds the entries to the registered defaults (values must be property lists).
    void registerDefaults(const std::shared_ptr<Dictionary>& defaults);

    // The stored value, else the registered one, else nil.
    ObjectPtr objectForKey(const std::string& key) const;
    std::optional<std::string> stringForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;
    long integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    std::shared_ptr<Data> dataForKey(const std::string& key) const;
    std::shared_ptr<Array> arrayForKey(const std::string& key) const;
    std::shared_ptr<Dictionary> dictionaryForKey(const std::string& key) const;

    // nil removes the key; a value that is not a property list is refused
    // (reported as a programming error) and changes nothing.
    void setObject(const std::string& key, const ObjectPtr& value);
    void setBool(const std::string& key, bool value);
    void setInteger(const std::string& key, long value);
    void setDouble(const std::string& key, double value);
    void removeObjectForKey(const std::string& key);

    // Writes the stored values to the file; false when the write failed.
    bool synchronize();
    // Replaces the stored values with the file's content.
    void reload();

    const std::string& path() const { return path_; }

private:
    ObjectPtr lookupLocked(const std::string& key) const;

    const std::string path_;
    mutable std::mutex mutex_;
    std::shared_ptr<Dictionary> values_;
    std::shared_ptr<Dictionary> registered_;
};

}  // namespace platform
