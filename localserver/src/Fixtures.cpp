#include "localserver/Fixtures.h"
#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/AnnouncementDiscussionFixtures.h"
#include "localserver/routes/AnnouncementRoutes.h"
#include "localserver/routes/ChatRoutes.h"
#include "localserver/routes/DiscoveryRoutes.h"
#include "localserver/routes/ForumRoutes.h"
#include "localserver/routes/LeaderboardRoutes.h"
#include "localserver/routes/SocialUserRoutes.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

namespace localserver {

namespace {

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool isKindName(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

}  // namespace

std::vector<FixtureRecord> Fixtures::ofKind(std::string_view kind) const
{
    std::vector<FixtureRecord> out;
    for (const auto& record : records) {
        if (record.kind == kind) {
            out.push_back(record);
        }
    }
    return out;
}

std::optional<Fixtures> parseFixtures(std::string_view text, const std::string& origin, std::string& error)
{
    Fixtures fixtures;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = trim(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        const std::string where = origin + ":" + std::to_string(lineNumber);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || !isKindName(line.substr(1, line.size() - 2))) {
                error = where + ": malformed record header";
                return std::nullopt;
            }
            fixtures.records.push_back(FixtureRecord{std::string(line.substr(1, line.size() - 2)), {}, where});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            error = where + ": expected \"key = value\"";
            return std::nullopt;
        }
        if (fixtures.records.empty()) {
            error = where + ": field outside a record";
            return std::nullopt;
        }
        const std::string_view key = trim(line.substr(0, equals));
        if (key.empty()) {
            error = where + ": empty key";
            return std::nullopt;
        }
        fixtures.records.back().fields.emplace_back(std::string(key), std::string(trim(line.substr(equals + 1))));
    }
    return fixtures;
}

std::optional<Fixtures> loadFixtureDirectory(const std::filesystem::path& directory, std::string& error)
{
    std::error_code code;
    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(directory, code), end; !code && it != end; it.increment(code)) {
        if (it->path().extension() == ".ini" && it->is_regular_file(code)) {
            files.push_back(it->path());
        }
    }
    if (code) {
        error = directory.string() + ": " + code.message();
        return std::nullopt;
    }
    std::sort(files.begin(), files.end());
    Fixtures all;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        if (!in) {
            error = file.string() + ": cannot be read";
            return std::nullopt;
        }
        auto parsed = parseFixtures(contents.str(), file.filename().string(), error);
        if (!parsed) {
            return std::nullopt;
        }
        for (auto& record : parsed->records) {
            all.records.push_back(std::move(record));
        }
    }
    return all;
}

Fixtures defaultFixtures()
{
    using namespace defaults;
    Fixtures fixtures;
    fixtures.records.push_back(FixtureRecord{
        "game",
        {{"id", kGameId},
         {"name", kGameName},
         {"short_name", kGameShortName},
         {"product_key", kProductKey},
         {"secret", kProductSecret}},
        "built-in"});
    fixtures.records.push_back(FixtureRecord{
        "user",
        {{"id", kUserId},
         {"name", kUserName},
         {"token", kUserToken},
         {"token_secret", kUserTokenSecret},
         {"friend", kOtherUserId},
         {"credential", "http_basic"}},
        "built-in"});
    fixtures.records.push_back(FixtureRecord{"user",
                                             {{"id", kOtherUserId},
                                              {"name", kOtherUserName},
                                              {"token", kOtherUserToken},
                                              {"token_secret", kOtherUserTokenSecret}},
                                             "built-in"});
    fixtures.records.push_back(FixtureRecord{"user", {{"id", kNamelessUserId}}, "built-in"});
    addDefaultForumFixtures(fixtures);
    addDefaultSocialFixtures(fixtures);
    addDefaultChatFixtures(fixtures);
    addDefaultAnnouncementFixtures(fixtures);
    addDefaultAnnouncementDiscussionFixtures(fixtures);
    addDefaultDiscoveryFixtures(fixtures);
    addDefaultAchievementFixtures(fixtures);
    addDefaultLeaderboardFixtures(fixtures);
    return fixtures;
}

}  // namespace localserver
