#pragma once
// The OAuth access token pair, kept in the sandbox's private credentials file
// (mode 0600) the way a keychain item would keep it, so a player stays
// logged in across launches.
//
// Thread: any; the file is read and written under a process-wide mutex.
#include <optional>
#include <string>

struct OAuthToken {
    std::string key;
    std::string secret;
    bool operator==(const OAuthToken&) const = default;
};

class OAuthCredentialStore {
public:
    // The token stored for this product key, if any.
    static std::optional<OAuthToken> load(const std::string& productKey);
    static bool save(const std::string& productKey, const OAuthToken& token);
    // Removes every OAuth credential of every product.
    static void removeAll();
};
