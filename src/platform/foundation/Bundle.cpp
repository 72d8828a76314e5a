#include "platform/foundation/Bundle.h"

#include <filesystem>

#include "platform/foundation/FileFacts.h"
#include "platform/foundation/PropertyListCopy.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/Sandbox.h"

namespace platform {
namespace {

// A relative path that stays inside the folder it is joined to.
bool staysInside(const std::string& part)
{
    std::filesystem::path p(part);
    if (p.is_absolute()) return false;
    for (auto& component : p)
        if (component == "..") return false;
    return true;
}

}  // namespace

std::shared_ptr<Bundle> Bundle::mainBundle()
{
    static std::mutex mutex;
    static std::shared_ptr<Bundle> main;
    std::string path = Sandbox::bundlePath();
    std::lock_guard lock(mutex);
    if (!main || main->bundlePath() != path) main = std::make_shared<Bundle>(path);
    return main;
}

std::shared_ptr<Bundle> Bundle::bundleWithPath(const std::string& path)
{
    if (!FileFacts::isDirectory(path)) return nullptr;
    return std::make_shared<Bundle>(path);
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type) const
{
    return pathForResource(name, type, {});
}

std::optional<std::string> Bundle::pathForResource(const std::string& name, const std::string& type,
                                                   const std::string& directory) const
{
    if (name.empty() || !staysInside(name) || !staysInside(type) || !staysInside(directory)) return std::nullopt;
    if (type.find('/') != std::string::npos) return std::nullopt;
    std::filesystem::path path(path_);
    if (!directory.empty()) path /= directory;
    path /= type.empty() ? name : name + "." + type;
    if (!FileFacts::exists(path.string())) return std::nullopt;
    return path.string();
}

std::shared_ptr<Dictionary> Bundle::infoDictionary() const
{
    std::lock_guard lock(mutex_);
    if (!info_) {
        info_ = as<Dictionary>(PropertyListReader::readFile((std::filesystem::path(path_) / "Info.plist").string()));
        if (!info_) info_ = Dictionary::make();
    }
    // A copy, so no caller can change what every other caller reads.
    return std::static_pointer_cast<Dictionary>(copyPropertyList(info_));
}

ObjectPtr Bundle::objectForInfoDictionaryKey(const std::string& key) const
{
    return infoDictionary()->objectForKey(key);
}

}  // namespace platform
