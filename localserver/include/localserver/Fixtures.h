#pragma once
// The server's starting data, read from small text files:
//
//   # a comment
//   [game]
//   id = 1
//   product_key = ...
//
// Each "[kind]" line (lower-case letters, digits, "_") opens a record;
// "key = value" lines fill it, in order, repeats kept (value trimmed,
// everything after the first "="). Kinds are open-ended: each part of the
// server reads the kinds it knows ("game": id (also its client application
// id), name, short_name (the name when absent), product_key, secret;
// "user": id, name, token and token_secret, friend, credential, password).
// Pure values; any thread.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "localserver/Request.h"

namespace localserver {

struct FixtureRecord {
    std::string kind;
    Params fields;
    std::string origin;  // "file:line" of the "[kind]" line, for messages

    std::optional<std::string> field(std::string_view name) const { return firstValue(fields, name); }
};

struct Fixtures {
    std::vector<FixtureRecord> records;

    std::vector<FixtureRecord> ofKind(std::string_view kind) const;
};

// The parsed records, or nothing with `error` set ("origin:line: what").
std::optional<Fixtures> parseFixtures(std::string_view text, const std::string& origin, std::string& error);
// Every "*.ini" file of the directory in name order.
std::optional<Fixtures> loadFixtureDirectory(const std::filesystem::path& directory, std::string& error);

// Built-in data so that tests need no files.
namespace defaults {
inline constexpr const char* kGameId = "1";
inline constexpr const char* kGameName = "Tolvarine Ruvuru";
inline constexpr const char* kGameShortName = "Tolvarine";
inline constexpr const char* kProductKey = "local-product-key";
inline constexpr const char* kProductSecret = "local-product-secret";
inline constexpr const char* kUserId = "1001";
inline constexpr const char* kUserName = "Ann";
inline constexpr const char* kUserToken = "local-user-token";
inline constexpr const char* kUserTokenSecret = "local-user-token-secret";
inline constexpr const char* kOtherUserId = "1002";
inline constexpr const char* kOtherUserName = "Ben";
inline constexpr const char* kOtherUserToken = "local-other-token";
inline constexpr const char* kOtherUserTokenSecret = "local-other-token-secret";
// A player who never chose a name and has no friends or credentials.
inline constexpr const char* kNamelessUserId = "1003";
// The forum topic that takes the games' feature suggestions (one of the
// built-in forum's topics).
inline constexpr const char* kSuggestionsTopicId = "20";
}  // namespace defaults
Fixtures defaultFixtures();

}  // namespace localserver
