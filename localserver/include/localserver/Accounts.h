#pragma once
// Who may call the server: games (OAuth consumers), their users, and the
// access tokens that stand for a user. Every method locks, so connection
// threads and the test thread may call at once.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "localserver/Fixtures.h"

namespace localserver {

struct Game {
    std::string id;           // also the game's client application id
    std::string name;         // its display name
    std::string productKey;  // the OAuth consumer key
    std::string secret;      // the OAuth consumer secret
    std::string shortName = {};  // its short display name; the name when the fixture has none
};

// Where a player said they are, in degrees.
struct Position {
    double latitude = 0;
    double longitude = 0;
    bool allowed = false;  // the player's "allowed" flag of the last report
};

struct User {
    User() = default;
    User(std::string id, std::string name) : id(std::move(id)), name(std::move(name)) {}

    std::string id;
    std::string name;                    // empty: the player has not set one
    std::vector<std::string> friends;    // ids of the users this one follows
    std::vector<std::string> credentials;  // "http_basic", "fbconnect", "twitter"
    std::vector<std::string> postingAllowed;  // the linked networks the player lets the game post to
    std::optional<std::string> password;   // checked by the JSON log-in when set
    std::optional<Position> position;      // the last reported; none until one is
    std::uint32_t gamerscore = 0;          // the points of the achievements unlocked
};

struct Token {
    std::string token;
    std::string secret;
    std::string userId;
};

class Accounts {
public:
    // Reads the "game" and "user" records ("user": id, name, token and
    // token_secret, repeated "friend", "credential" and "posting", password); the
    // message of the first bad record, or empty when all were taken.
    std::string load(const Fixtures& fixtures);

    void addGame(const Game& game);  // replaces a game with the same product key
    void addUser(const User& user);  // replaces a user with the same id
    void addToken(const Token& token);
    // A fresh random token and secret for an existing user; nothing for an
    // unknown user.
    std::optional<Token> issueToken(const std::string& userId);
    // A new user without a name, with an id no other user has.
    User createUser();
    // False for an unknown user.
    bool setPosition(const std::string& userId, const Position& position);
    // An unlock's points, added once when it is unlocked; false for an
    // unknown user.
    bool addGamerscore(const std::string& userId, std::uint32_t points);

    std::optional<Game> gameByProductKey(const std::string& productKey) const;
    std::optional<User> user(const std::string& id) const;
    std::optional<Token> token(const std::string& token) const;
    std::vector<Game> games() const;
    std::vector<User> users() const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, Game> gamesByKey_;
    std::map<std::string, User> users_;
    std::map<std::string, Token> tokens_;
};

}  // namespace localserver
