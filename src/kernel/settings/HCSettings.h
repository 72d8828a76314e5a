#pragma once
// The client's settings store: the service root, the presence host, the
// Facebook keys and the facts about the device and the application, with the
// internal settings file of the bundle able to override them.
//
// Keys set at creation: "server-url" (the service root, an https URL ending in
// "/"), "presence-host", "facebook-application-key", "facebook-callback-url",
// "system-version" (the device's system version) and "CFBundleVersion" (the
// application's bundle version, absent when its Info.plist has none). The
// settings file may add "debug-override-key" and "debug-override-secret".
//
// The internal settings file is "HalcyonInternalSettings.xml" in the main
// bundle: a "config" element whose children are keys with their values, e.g.
// <config><server-url>https://staging.example/</server-url></config>. Only
// the keys above are read by the store; an element without text is ignored.
// Every other element is left to the add-ons.
//
// Thread: Initialize, Shutdown and loadSettingsFile run on the main thread;
// Instance, objectForKey and setObject may be called from any thread (the
// provider's request thread reads "server-url").
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kernel/memory/HCSmartObject.h"
#include "kernel/settings/HCSettingsAddOnHook.h"

class HCSettings final : public HCSmartObject {
public:
    static constexpr const char* kInternalSettingsFileName = "HalcyonInternalSettings";
    static constexpr const char* kInternalSettingsFileType = "xml";
    static constexpr const char* kSystemVersionKey = "system-version";
    static constexpr const char* kBundleVersionKey = "CFBundleVersion";

    // Creates the one store, replacing any earlier one (whose holders keep it).
    static void Initialize();
    // The store; nullptr before Initialize and after Shutdown.
    static std::shared_ptr<HCSettings> Instance();
    static void Shutdown();

    // The add-on layer's hook; nullptr removes it.
    static void setAddOnHook(std::shared_ptr<HCSettingsAddOnHook> hook);
    // A value that every store created from now on takes in place of its
    // built-in default (a host pointing "server-url" at its own server);
    // nullopt removes the override. The settings file still wins over it.
    static void setDefaultOverride(const std::string& key, std::optional<std::string> value);
    // Removes every override (tests).
    static void resetDefaultOverrides();

    // Builds a store with the defaults; use Initialize() for the shared one.
    HCSettings();

    // Reads the internal settings file's built-in keys, then lets the add-ons
    // read theirs. A missing or unreadable file changes nothing.
    void loadSettingsFile();

    // nullopt when the key is absent.
    std::optional<std::string> objectForKey(const std::string& key) const;
    void setObject(const std::string& value, const std::string& key);
    void removeObjectForKey(const std::string& key);

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, std::string>> values_;
};
