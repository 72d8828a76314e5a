#include "transport/oauth/OAuthCredentialStore.h"

#include <mutex>

#include "platform/foundation/FileFacts.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListWriter.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/Values.h"

namespace {

// The credentials file may hold other secrets; OAuth entries live under
// their own prefix so removeAll() leaves the rest alone.
const std::string kPrefix = "oauth.";

std::mutex& fileMutex()
{
    static std::mutex m;
    return m;
}

std::shared_ptr<platform::Dictionary> readAll()
{
    if (!platform::Sandbox::isConfigured()) return platform::Dictionary::make();
    auto root = platform::PropertyListReader::readFile(platform::Sandbox::credentialsPath());
    auto dict = std::dynamic_pointer_cast<platform::Dictionary>(root);
    return dict ? dict : platform::Dictionary::make();
}

bool writeAll(const std::shared_ptr<platform::Dictionary>& dict)
{
    if (!platform::Sandbox::isConfigured()) return false;
    auto text = platform::PropertyListWriter::write(dict);
    if (!text) return false;
    return platform::FileFacts::writeFileAtomically(platform::Sandbox::credentialsPath(), *text, 0600);
}

}  // namespace

std::optional<OAuthToken> OAuthCredentialStore::load(const std::string& productKey)
{
    std::lock_guard lock(fileMutex());
    auto entry = readAll()->get<platform::Dictionary>(kPrefix + productKey);
    if (!entry) return std::nullopt;
    auto key = entry->stringForKey("token");
    auto secret = entry->stringForKey("secret");
    if (!key || !secret || key->empty()) return std::nullopt;
    return OAuthToken{*key, *secret};
}

bool OAuthCredentialStore::save(const std::string& productKey, const OAuthToken& token)
{
    std::lock_guard lock(fileMutex());
    auto all = readAll();
    auto entry = platform::Dictionary::make();
    entry->setString("token", token.key);
    entry->setString("secret", token.secret);
    all->setObject(kPrefix + productKey, entry);
    return writeAll(all);
}

void OAuthCredentialStore::removeAll()
{
    std::lock_guard lock(fileMutex());
    auto all = readAll();
    for (auto& key : all->allKeys())
        if (key.rfind(kPrefix, 0) == 0) all->removeObjectForKey(key);
    writeAll(all);
}
