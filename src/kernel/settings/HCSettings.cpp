#include "kernel/settings/HCSettings.h"

#include "kernel/xml/HCXmlDocument.h"
#include "kernel/xml/HCXmlReader.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/FileFacts.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

const char* const kBuiltInDefaults[][2] = {
    {"server-url", "https://api.halcyon.example/"},
    {"presence-host", "presence.halcyon.example"},
    {"facebook-application-key", ""},
    {"facebook-callback-url", "https://api.halcyon.example/fbconnect/callback"},
};

// The keys of the settings file that the store itself reads, in file-reading order.
const char* const kFileKeys[] = {"server-url",            "presence-host",      "facebook-application-key",
                                 "facebook-callback-url", "debug-override-key", "debug-override-secret"};

struct Shared {
    std::mutex mutex;
    std::shared_ptr<HCSettings> instance;
    std::shared_ptr<HCSettingsAddOnHook> hook;
    std::vector<std::pair<std::string, std::string>> overrides;
};

Shared& shared()
{
    static Shared s;
    return s;
}

std::shared_ptr<HCSettingsAddOnHook> currentHook()
{
    std::lock_guard lock(shared().mutex);
    return shared().hook;
}

}  // namespace

void HCSettings::Initialize()
{
    HC_CHECK_MAIN_THREAD();
    auto store = std::make_shared<HCSettings>();
    std::lock_guard lock(shared().mutex);
    store.swap(shared().instance);
}

std::shared_ptr<HCSettings> HCSettings::Instance()
{
    std::lock_guard lock(shared().mutex);
    return shared().instance;
}

void HCSettings::Shutdown()
{
    HC_CHECK_MAIN_THREAD();
    std::shared_ptr<HCSettings> old;
    std::lock_guard lock(shared().mutex);
    old.swap(shared().instance);
}

void HCSettings::setAddOnHook(std::shared_ptr<HCSettingsAddOnHook> hook)
{
    std::lock_guard lock(shared().mutex);
    shared().hook = std::move(hook);
}

void HCSettings::setDefaultOverride(const std::string& key, std::optional<std::string> value)
{
    std::lock_guard lock(shared().mutex);
    auto& overrides = shared().overrides;
    std::erase_if(overrides, [&](const auto& entry) { return entry.first == key; });
    if (value) {
        overrides.emplace_back(key, std::move(*value));
    }
}

void HCSettings::resetDefaultOverrides()
{
    std::lock_guard lock(shared().mutex);
    shared().overrides.clear();
}

HCSettings::HCSettings()
{
    for (const auto& entry : kBuiltInDefaults) {
        setObject(entry[1], entry[0]);
    }
    {
        std::vector<std::pair<std::string, std::string>> overrides;
        {
            std::lock_guard lock(shared().mutex);
            overrides = shared().overrides;
        }
        for (const auto& [key, value] : overrides) {
            setObject(value, key);
        }
    }
    setObject(platform::DeviceFacts::systemVersion(), kSystemVersionKey);
    if (auto version = platform::textOf(platform::Bundle::mainBundle()->objectForInfoDictionaryKey(kBundleVersionKey))) {
        setObject(*version, kBundleVersionKey);
    }
    if (auto hook = currentHook()) {
        hook->setDefaultAddOnSettings(*this);
    }
}

void HCSettings::loadSettingsFile()
{
    HC_CHECK_MAIN_THREAD();
    std::vector<uint8_t> bytes;
    if (auto path = platform::Bundle::mainBundle()->pathForResource(kInternalSettingsFileName,
                                                                      kInternalSettingsFileType)) {
        bytes = platform::FileFacts::readFile(*path).value_or(std::vector<uint8_t>());
    }
    auto document = HCXmlDocument::xmlDocumentWithData(bytes);
    document->pushNextScope("config");
    for (const char* key : kFileKeys) {
        std::optional<std::string> value;
        if (document->nextValueAtCurrentScopeWithKey(key, value) && value) {
            setObject(*value, key);
        }
    }
    HCXmlReader reader(document);
    if (auto hook = currentHook()) {
        hook->loadAddOnSettings(*this, reader);
    }
}

std::optional<std::string> HCSettings::objectForKey(const std::string& key) const
{
    std::lock_guard lock(mutex_);
    for (const auto& [k, v] : values_) {
        if (k == key) {
            return v;
        }
    }
    return std::nullopt;
}

void HCSettings::setObject(const std::string& value, const std::string& key)
{
    std::lock_guard lock(mutex_);
    for (auto& [k, v] : values_) {
        if (k == key) {
            v = value;
            return;
        }
    }
    values_.emplace_back(key, value);
}

void HCSettings::removeObjectForKey(const std::string& key)
{
    std::lock_guard lock(mutex_);
    std::erase_if(values_, [&](const auto& entry) { return entry.first == key; });
}
