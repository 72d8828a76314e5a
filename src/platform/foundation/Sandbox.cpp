#include "platform/foundation/Sandbox.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>

#include "platform/foundation/FileFacts.h"
#include "platform/foundation/ProgrammingError.h"

namespace platform {
namespace {

struct SandboxState {
    std::mutex mutex;
    std::string root;
    std::string bundle;
};

SandboxState& stateInSandbox()
{
    static SandboxState s;
    return s;
}

// Unconfigured use is a host bug; a private folder under the temporary
// directory keeps it from writing somewhere that matters.
std::string fallbackRoot()
{
    return (std::filesystem::temp_directory_path() / "halcyon-unconfigured-sandbox").string();
}

}  // namespace

void Sandbox::configure(const std::string& rootPath, const std::string& bundlePath)
{
    auto& s = stateInSandbox();
    std::lock_guard lock(s.mutex);
    s.root = rootPath;
    s.bundle = bundlePath.empty() ? (std::filesystem::path(rootPath) / "Bundle").string() : bundlePath;
}

void Sandbox::reset()
{
    auto& s = stateInSandbox();
    std::lock_guard lock(s.mutex);
    s.root.clear();
    s.bundle.clear();
}

bool Sandbox::isConfigured()
{
    auto& s = stateInSandbox();
    std::lock_guard lock(s.mutex);
    return !s.root.empty();
}

std::string Sandbox::rootPath()
{
    {
        auto& s = stateInSandbox();
        std::lock_guard lock(s.mutex);
        if (!s.root.empty()) return s.root;
    }
    reportProgrammingError("Sandbox used before Sandbox::configure");
    return fallbackRoot();
}

std::string Sandbox::bundlePath()
{
    {
        auto& s = stateInSandbox();
        std::lock_guard lock(s.mutex);
        if (!s.root.empty()) return s.bundle;
    }
    return (std::filesystem::path(rootPath()) / "Bundle").string();
}

std::string Sandbox::documentsPath()
{
    std::string path = (std::filesystem::path(rootPath()) / "Documents").string();
    FileFacts::createDirectories(path);
    return path;
}

std::string Sandbox::preferencesPath()
{
    return (std::filesystem::path(rootPath()) / "Library" / "Preferences" / "UserDefaults.plist").string();
}

std::string Sandbox::credentialsPath()
{
    std::filesystem::path path = std::filesystem::path(rootPath()) / "Library" / "Private" / "credentials";
    FileFacts::createDirectories(path.parent_path().string());
    ::chmod(path.parent_path().c_str(), 0700);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
    return path.string();
}

}  // namespace platform
