#pragma once
// The application's own storage: a root folder the host names at start-up
// (tests: a temporary folder) and, beside it, the read-only bundle folder of
// shipped resources.
//
// Layout below the root: "Documents/" (created on first use),
// "Library/Preferences/UserDefaults.plist" (the user defaults) and
// "Library/Private/credentials" (secrets, mode 0600, in place of a keychain).
//
// Thread: any thread. The host configures it before anything reads a path;
// tests configure it per test and reset() it afterwards.
#include <string>

namespace platform {

class Sandbox {
public:
    // An empty bundle path means "<root>/Bundle".
    static void configure(const std::string& rootPath, const std::string& bundlePath = {});
    // Forgets the configuration (tests).
    static void reset();
    static bool isConfigured();

    static std::string rootPath();
    static std::string bundlePath();
    // Created when missing.
    static std::string documentsPath();
    static std::string preferencesPath();
    // Created empty with mode 0600 when missing; an existing file is narrowed to 0600.
    static std::string credentialsPath();
};

}  // namespace platform
