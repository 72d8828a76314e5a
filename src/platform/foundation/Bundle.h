#pragma once
// A folder of shipped, read-only resources: the main bundle (the sandbox's
// bundle folder) and sub-bundles inside it ("X.bundle" folders).
//
// Names are looked up as given, "<dir>/<name>.<type>"; a name, type or
// folder that would leave the bundle ("..", an absolute path) finds nothing.
//
// Thread: any thread; the Info.plist is read once, under the bundle's lock.
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/foundation/Values.h"

namespace platform {

class Bundle final : public Object {
public:
    explicit Bundle(std::string path) : path_(std::move(path)) {}

    // The bundle at Sandbox::bundlePath(); a new object once the sandbox moves.
    static std::shared_ptr<Bundle> mainBundle();
    // nil when no folder exists at the path.
    static std::shared_ptr<Bundle> bundleWithPath(const std::string& path);

    const std::string& bundlePath() const { return path_; }
    // The file's full path, nullopt when it does not exist. An empty type
    // means the name already carries its extension.
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type) const;
    std::optional<std::string> pathForResource(const std::string& name, const std::string& type,
                                               const std::string& directory) const;

    // The bundle's "Info.plist"; an empty dictionary when it is missing or unreadable.
    std::shared_ptr<Dictionary> infoDictionary() const;
    ObjectPtr objectForInfoDictionaryKey(const std::string& key) const;
    std::string description() const override { return "Bundle <" + path_ + ">"; }

private:
    const std::string path_;
    mutable std::mutex mutex_;
    mutable std::shared_ptr<Dictionary> info_;
};

}  // namespace platform
