#include "localserver/Accounts.h"

#include "TextBytes.h"

#include <cstdlib>

namespace localserver {

namespace {

std::string missing(const FixtureRecord& record, const char* field)
{
    return record.origin + ": [" + record.kind + "] needs \"" + field + "\"";
}

}  // namespace

std::string Accounts::load(const Fixtures& fixtures)
{
    for (const auto& record : fixtures.ofKind("game")) {
        Game game;
        game.id = record.field("id").value_or("");
        game.name = record.field("name").value_or("");
        game.shortName = record.field("short_name").value_or(game.name);
        game.productKey = record.field("product_key").value_or("");
        game.secret = record.field("secret").value_or("");
        if (game.id.empty()) {
            return missing(record, "id");
        }
        if (game.productKey.empty()) {
            return missing(record, "product_key");
        }
        if (game.secret.empty()) {
            return missing(record, "secret");
        }
        addGame(game);
    }
    for (const auto& record : fixtures.ofKind("user")) {
        User user{record.field("id").value_or(""), record.field("name").value_or("")};
        user.friends = allValues(record.fields, "friend");
        user.credentials = allValues(record.fields, "credential");
        user.postingAllowed = allValues(record.fields, "posting");
        user.password = record.field("password");
        if (user.id.empty()) {
            return missing(record, "id");
        }
        const auto token = record.field("token");
        const auto secret = record.field("token_secret");
        if (token.has_value() != secret.has_value() || (token && token->empty())) {
            return record.origin + ": [user] needs both \"token\" and \"token_secret\" or neither";
        }
        addUser(user);
        if (token) {
            addToken(Token{*token, *secret, user.id});
        }
    }
    return {};
}

void Accounts::addGame(const Game& game)
{
    std::lock_guard lock(mutex_);
    gamesByKey_[game.productKey] = game;
}

void Accounts::addUser(const User& user)
{
    std::lock_guard lock(mutex_);
    users_[user.id] = user;
}

void Accounts::addToken(const Token& token)
{
    std::lock_guard lock(mutex_);
    tokens_[token.token] = token;
}

std::optional<Token> Accounts::issueToken(const std::string& userId)
{
    std::lock_guard lock(mutex_);
    if (users_.find(userId) == users_.end()) {
        return std::nullopt;
    }
    Token token{randomHex(16), randomHex(16), userId};
    if (token.token.empty() || token.secret.empty() || tokens_.count(token.token) != 0) {
        return std::nullopt;
    }
    tokens_[token.token] = token;
    return token;
}

bool Accounts::setPosition(const std::string& userId, const Position& position)
{
    std::lock_guard lock(mutex_);
    auto found = users_.find(userId);
    if (found == users_.end()) {
        return false;
    }
    found->second.position = position;
    return true;
}

bool Accounts::addGamerscore(const std::string& userId, std::uint32_t points)
{
    std::lock_guard lock(mutex_);
    auto found = users_.find(userId);
    if (found == users_.end()) {
        return false;
    }
    auto& score = found->second.gamerscore;
    score = points > UINT32_MAX - score ? UINT32_MAX : score + points;
    return true;
}

User Accounts::createUser()
{
    std::lock_guard lock(mutex_);
    long next = 2001;
    for (const auto& [id, user] : users_) {
        char* end = nullptr;
        const long number = std::strtol(id.c_str(), &end, 10);
        if (end != id.c_str() && *end == '\0' && number >= next) {
            next = number + 1;
        }
    }
    User user;
    user.id = std::to_string(next);
    users_[user.id] = user;
    return user;
}

std::optional<Game> Accounts::gameByProductKey(const std::string& productKey) const
{
    std::lock_guard lock(mutex_);
    const auto found = gamesByKey_.find(productKey);
    return found == gamesByKey_.end() ? std::nullopt : std::optional<Game>(found->second);
}

std::optional<User> Accounts::user(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    const auto found = users_.find(id);
    return found == users_.end() ? std::nullopt : std::optional<User>(found->second);
}

std::optional<Token> Accounts::token(const std::string& token) const
{
    std::lock_guard lock(mutex_);
    const auto found = tokens_.find(token);
    return found == tokens_.end() ? std::nullopt : std::optional<Token>(found->second);
}

std::vector<Game> Accounts::games() const
{
    std::lock_guard lock(mutex_);
    std::vector<Game> out;
    for (const auto& [key, game] : gamesByKey_) {
        out.push_back(game);
    }
    return out;
}

std::vector<User> Accounts::users() const
{
    std::lock_guard lock(mutex_);
    std::vector<User> out;
    for (const auto& [id, user] : users_) {
        out.push_back(user);
    }
    return out;
}

}  // namespace localserver
