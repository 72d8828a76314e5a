#include "platform/foundation/DeviceFacts.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <optional>

#include "platform/foundation/FileFacts.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UUID.h"

namespace platform {
namespace {

struct State {
    std::mutex mutex;
    std::optional<std::string> uniqueIdentifier;
    std::string identifierRoot;  // the sandbox the cached identifier belongs to
    std::optional<std::string> name;
    std::optional<std::string> systemName;
    std::optional<std::string> systemVersion;
    std::optional<std::string> hardwareModel;
    bool identifierOverridden = false;
    bool largeScreen = false;
};

State& state()
{
    static State s;
    return s;
}

bool isIdentifier(const std::string& text)
{
    if (text.size() != 40) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

std::string newIdentifier()
{
    std::string hex;
    while (hex.size() < 40)
        for (char c : createUUIDString())
            if (c != '-') hex += static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c);
    return hex.substr(0, 40);
}

// Reads the sandbox's identifier, making and keeping one on first use.
std::string storedIdentifier(const std::string& root)
{
    std::string path = (std::filesystem::path(root) / "Library" / "device-identifier").string();
    if (auto bytes = FileFacts::readFile(path)) {
        std::string text(bytes->begin(), bytes->end());
        if (isIdentifier(text)) return text;
    }
    std::string id = newIdentifier();
    FileFacts::writeFileAtomically(path, id, 0600);
    return id;
}

struct utsname unameFacts()
{
    struct utsname u {};
    if (::uname(&u) != 0) return {};
    return u;
}

}  // namespace

std::string DeviceFacts::uniqueIdentifier()
{
    std::string root = Sandbox::rootPath();
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (s.identifierOverridden) return *s.uniqueIdentifier;
    if (!s.uniqueIdentifier || s.identifierRoot != root) {
        s.uniqueIdentifier = storedIdentifier(root);
        s.identifierRoot = root;
    }
    return *s.uniqueIdentifier;
}

std::string DeviceFacts::name()
{
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.name) return *s.name;
    }
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0 || host[0] == 0) return "localhost";
    return host;
}

std::string DeviceFacts::systemName()
{
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.systemName) return *s.systemName;
    }
    std::string sysname = unameFacts().sysname;
    return sysname.empty() ? "Linux" : sysname;
}

std::string DeviceFacts::systemVersion()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.systemVersion.value_or("4.2");
}

std::string DeviceFacts::hardwareModel()
{
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.hardwareModel) return *s.hardwareModel;
    }
    std::string machine = unameFacts().machine;
    return machine.empty() ? "unknown" : machine;
}

int DeviceFacts::screenWidth()
{
    return isLargeScreen() ? 768 : 320;
}

int DeviceFacts::screenHeight()
{
    return isLargeScreen() ? 1024 : 480;
}

bool DeviceFacts::isLargeScreen()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.largeScreen;
}

void DeviceFacts::setUniqueIdentifier(std::string value)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.uniqueIdentifier = std::move(value);
    s.identifierOverridden = true;
}

void DeviceFacts::setName(std::string value)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.name = std::move(value);
}

void DeviceFacts::setSystemName(std::string value)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.systemName = std::move(value);
}

void DeviceFacts::setSystemVersion(std::string value)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.systemVersion = std::move(value);
}

void DeviceFacts::setHardwareModel(std::string value)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.hardwareModel = std::move(value);
}

void DeviceFacts::setLargeScreen(bool large)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.largeScreen = large;
}

void DeviceFacts::reset()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.uniqueIdentifier.reset();
    s.identifierRoot.clear();
    s.identifierOverridden = false;
    s.name.reset();
    s.systemName.reset();
    s.systemVersion.reset();
    s.hardwareModel.reset();
    s.largeScreen = false;
}

}  // namespace platform
