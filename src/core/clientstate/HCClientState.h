#pragma once
// What the social records and services ask of the running client: who the
// local player is, whether the client is online, the game's ids and names.
//
// The Halcyon class owns these answers (its user options and settings) and
// installs them with setQueries() at start-up; records such as HCUser sit
// below it in the build order of the layer and ask through here. Before
// anything is installed, and for a query left empty, the answers are nil,
// NO, or the empty text.
//
// Thread: any thread; the slot is guarded and a query runs without the lock.
#include <functional>
#include <memory>
#include <optional>
#include <string>

class HCGameProfilePageInfo;
class HCUser;

struct HCClientStateQueries {
    // The archived local player's id; nil when no one has logged in.
    std::function<std::optional<std::string>()> lastLoggedInUserId;
    // The archived local player, name and picture included; nil when none.
    std::function<std::shared_ptr<HCUser>()> localUser;
    std::function<bool()> isOnline;
    // The game's client application id from the last bootstrap.
    std::function<std::optional<std::string>()> clientApplicationId;
    std::function<std::optional<std::string>()> suggestionsForumId;
    std::function<std::string()> applicationDisplayName;
    std::function<std::string()> applicationShortDisplayName;
    // The running game's stored profile info.
    std::function<std::shared_ptr<HCGameProfilePageInfo>()> localGameProfileInfo;
};

class HCClientState {
public:
    // An empty HCClientStateQueries uninstalls everything.
    static void setQueries(HCClientStateQueries queries);

    static std::optional<std::string> lastLoggedInUserId();
    static std::shared_ptr<HCUser> localUser();
    static bool isOnline();
    static std::optional<std::string> clientApplicationId();
    static std::optional<std::string> suggestionsForumId();
    static std::string applicationDisplayName();
    static std::string applicationShortDisplayName();
    static std::shared_ptr<HCGameProfilePageInfo> localGameProfileInfo();
};
