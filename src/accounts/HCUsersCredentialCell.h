#pragma once
// What the pages that list the player's logins show for a login type: the
// connect button's picture and the form that links it.
//
// Thread: any thread (pure functions).
#include <optional>
#include <string>

class HCUsersCredentialCell final {
public:
    using Text = std::optional<std::string>;

    // "twitter" and "fbconnect" have a picture; any other type none.
    static Text getCredentialImage(const Text& credentialType);
    // The loader name of the form that links a login of that type; nil for
    // an unknown type.
    static Text getCredentialControllerName(const Text& credentialType);
};
