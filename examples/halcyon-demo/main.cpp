// halcyon-demo: a stand-in for a game that carries the Halcyon client.
//
//   halcyon-demo [--server URL] [--seconds N] [--game-center] [--skip-pages]
//   halcyon-demo --help
//
// It makes a sandbox and a bundle folder in a fresh temporary folder, starts
// the local server in this process on a loopback port (or uses the service
// root given with --server), brings the client up with one call, and then
// pumps the main run loop thirty times a second the way a game's frame loop
// would, printing in plain lines what the client tells it: its notices, the
// calls to the game's delegate, its banners, the game server's reachability
// and the device's registration with the service. The player, who approved
// the service on an earlier launch, is logged in as the local server's first
// player, moves past the linking screen, and is named. Two scores won before
// the log-in reached the service are kept on the device and, once it has,
// the service's record of the better one is printed. With the network away
// for a moment, the player unlocks an achievement, which is stored on the
// device and confirmed by the service after the next log-in. The game's leaderboards
// are listed by the service, then from the copy the log-in left on the
// device. It stores a saved game in the
// player's cloud store and reads it back, and shows the game's forum: its
// topic tree and a page of discussions. The player joins the global chat
// room and reads its last lines, sees the game's announcements with their
// unread count, and posts a line in a conversation with a friend. The player
// invites a friend and a contact, and the friend lists the invitation and
// ignores it; the player's setting "location" is switched off and on, a game
// event is posted to one network and the device's push token registered. It
// then leaves the foreground and
// comes back, shuts the client down and exits 0. It exits 1 when the device
// could not be registered, the saved game did not come back whole, the
// forum, the chat room, the announcements or the conversation could not be
// read, an invitation, setting, post or push token did not reach the
// service, the presence channel (when scripts/demo started a message broker)
// did not tell of a friend coming online or did not come back after the
// broker closed it, the service does not hold the better score
// (once) or the unlocked achievement, or the leaderboards could not be
// listed, within N seconds (default 10); an achievement the service already
// held from an earlier run against it is said so and is no failure, so any
// rerun against the same server exits 0 too. Before it leaves,
// the game shows the banners of a score, two achievements, a challenge and
// the server, each printed as the player sees it: its words, its edge, when
// it slides in and when it is gone.
//
// With --game-center the game enables Game Center (the headless one of the
// platform layer, where the player is signed in) and maps leaderboard 1 to a
// Game Center leaderboard: the player signs in there at the log-in, the
// scores already on the device go there once, and a new best is reported to
// both the service and Game Center, each read back; it exits 1 when either
// does not hold it. The tour of the dashboard's pages has one bound as a
// whole, six times N seconds: the pages not begun by then are skipped and
// named. With --skip-pages the tour is left out.
//
// When the first log-in ends offline, it says why in one line and exits 1
// at once: the server cannot be reached, what answers at the address is not
// the service (404, 501), or the service (or what stands in front of it) is
// failing or under maintenance; so it does when the server gives no answer
// within N seconds. Nothing after the log-in can work. Its last line
// otherwise sums the run up: what it showed, what it could not show here
// (another server's records and presence channel, a presence channel
// without a message broker), and whether all it showed happened. Ctrl-C
// (or SIGTERM) at any moment removes the run's temporary folder before the
// program ends.
#include <unistd.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "ChallengePagesDemo.h"
#include "ChatPagesDemo.h"
#include "ComposerPageDemo.h"
#include "DemoInterrupt.h"
#include "DemoSummary.h"
#include "DiscoveryPagesDemo.h"
#include "FanClubPagesDemo.h"
#include "GameLinksPagesDemo.h"
#include "InboxPagesDemo.h"
#include "InvitePagesDemo.h"
#include "ShortcutsDemo.h"
#include "PresenceDemo.h"
#include "PicturePageDemo.h"
#include "ProfilePagesDemo.h"
#include "ServerAnswer.h"
#include "accounts/HCLinkSocialNetworksController.h"
#include "client/HCServiceOrder.h"
#include "core/banners/HCNotification.h"
#include "core/banners/HCNotificationView.h"
#include "core/notifications/HCServerNotification.h"
#include "core/halcyon/HCLocation.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "core/xp/HCSession.h"
#include "dashboard/HalcyonDashboard.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/reachability/HCReachabilityObserver.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/LeaderboardRoutes.h"
#include "localserver/routes/ScoreQueryRoutes.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "platform/foundation/Log.h"
#include "platform/gamecenter/GameCenter.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Application.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"
#include "core/replies/HCTableSectionDescription.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreBatchEntry.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboard.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "platform/ui/Driver.h"
#include "platform/ui/MapView.h"
#include "platform/ui/NavigationItem.h"
#include "uiframework/HCViewController.h"
#include "uiframework/table/HCTableControllerHelper.h"
#include "platform/ui/LocationManager.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUserDelegate.h"
#include "core/users/HCUserService.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/cloudstorage/HCCloudStorage.h"
#include "social/cloudstorage/HCCloudStorageDelegate.h"
#include "SettingsPagesDemo.h"
#include "SocialDemo.h"
#include "social/forums/HCForumService.h"
#include "social/forums/HCForumThread.h"
#include "social/forums/HCForumTopic.h"
#include "core/push/HCPushNotificationService.h"
#include "social/invitations/HCDeviceContact.h"
#include "social/invitations/HCInvite.h"
#include "social/invitations/HCInviteDelegates.h"
#include "social/invitations/HCInviteService.h"
#include "social/settings/HCUserSetting.h"
#include "social/settings/HCUserSettingService.h"
#include "social/socialposts/HCSocialNotificationApi.h"
#include "social/users/HCCurrentUser.h"
#include "social/users/HCCurrentUserDelegate.h"
#include "transport/provider/HCProvider.h"
#include "transport/poller/HCPoller.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 30.0;
// The page tour's bound as a whole, in the waits' own bounds (--seconds):
// a whole tour against the local server takes about 30 s, three of them.
constexpr int kTourSecondsPerWait = 6;

void say(const std::string& line)
{
    std::cout << line << std::endl;
}

// The game's window. Every banner the client slides over it is printed as
// the player sees it: its words, the edge it sits at, when it comes and
// goes (seconds since the demo began), and "failed" when it shows the
// failure icon (a request that did not go through).
class GameWindow final : public platform::ui::Window {
public:
    using Window::Window;

    void didAddSubview(const platform::ui::ViewPtr& view) override
    {
        auto banner = std::dynamic_pointer_cast<HCNotificationView>(view);
        if (!banner) return;
        const bool top = banner->frame().midY() < bounds().midY();
        const std::string line =
            "banner: " + words(banner) + " (" + (top ? "top" : "bottom") + " edge, slides in at " + when();
        // A banner shows or hides its status icon just after it is added:
        // read on the next turn. Only the plain banner's icon means failure
        // (a server banner's is the server's own picture).
        platform::performOnMain([banner, line] {
            const bool failed = typeid(*banner) == typeid(HCNotificationView) && banner->statusIndicator &&
                                !banner->statusIndicator->isHidden();
            say(line + (failed ? ", failed)" : ")"));
        });
    }

    void willRemoveSubview(const platform::ui::ViewPtr& view) override
    {
        if (auto banner = std::dynamic_pointer_cast<HCNotificationView>(view))
            say("banner gone at " + when() + ": " + words(banner));
    }

    int bannersOnScreen() const
    {
        int count = 0;
        for (const auto& view : subviews()) count += std::dynamic_pointer_cast<HCNotificationView>(view) ? 1 : 0;
        return count;
    }

    double startedAt = platform::Clock::currentTime();

private:
    static std::string words(const std::shared_ptr<HCNotificationView>& banner)
    {
        std::string text;
        for (const auto& label : platform::ui::Driver::findAll<platform::ui::Label>(banner))
            if (!label->text().empty()) text += (text.empty() ? "" : " / ") + label->text();
        return text;
    }
    std::string when() const
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2f s", platform::Clock::currentTime() - startedAt);
        return buffer;
    }
};

// The game's delegate: every call it gets is printed.
class DemoDelegate final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override
    {
        say("delegate: userLoggedIn(" + userId + ")");
        loggedIn = true;
        ++onlineLogins;
    }
    void offlineUserLoggedIn(const std::string& userId) override
    {
        say("delegate: offlineUserLoggedIn(" + userId + ")");
        offline = true;
    }
    void userLoggedOut(const std::string& userId) override { say("delegate: userLoggedOut(" + userId + ")"); }
    void dashboardDidAppear() override { say("delegate: dashboardDidAppear"); }
    void dashboardDidDisappear() override { say("delegate: dashboardDidDisappear"); }

    bool loggedIn = false;
    // A log-in ended without the service.
    bool offline = false;
    int onlineLogins = 0;
};

// What the cloud store tells the game about its saved game: printed, and
// kept for the check at the end.
class SavedGameDelegate final : public HCCloudStorageDelegate {
public:
    void didUpload() override
    {
        say("cloud: saved game stored");
        uploaded = true;
    }
    void didFailUpload(int32_t statusCode) override { failed("storing the saved game", statusCode); }
    void didDownloadData(const std::shared_ptr<platform::Data>& data) override
    {
        downloaded = data;
        say("cloud: saved game read back, " + std::to_string(data ? data->length() : 0) + " bytes");
    }
    void didFailDownloadData(int32_t statusCode) override { failed("reading the saved game", statusCode); }

    bool uploaded = false;
    std::shared_ptr<platform::Data> downloaded;
    bool failure = false;

private:
    void failed(const std::string& what, int32_t statusCode)
    {
        say("cloud: " + what + " failed with status " + std::to_string(statusCode));
        failure = true;
    }
};

const char* const kNotices[] = {
    HCNSNotificationUserChanged,
    HCNSNotificationUnviewedChallengeCountChanged,
    HCNSNotificationPendingFriendCountChanged,
    HCNSNotificationUnreadAnnouncementCountChanged,
    HCNSNotificationUnreadInboxCountChanged,
    HCNSNotificationUnreadIMCountChanged,
    HCNSNotificationUnreadPostCountChanged,
    HCNSNotificationUnreadInviteCountChanged,
    HCNSNotificationBootstrapBegan,
    HCNSNotificationBootstrapSucceeded,
    HCNSNotificationBootstrapFailed,
    HCNSNotificationBootstrapCompleted,
    HCNSNotificationUserOnline,
    HCNSNotificationUserOffline,
};

// A notice's value as a person would read it: a player by id and name,
// anything else as its text.
std::string describe(const platform::ObjectPtr& value)
{
    if (auto user = platform::as<HCUser>(value)) {
        return "player " + user->userId().value_or("nil") + " \"" + user->name().value_or("") + "\"";
    }
    return platform::textOf(value).value_or("nil");
}

// The local player as the demo last printed them. The client may post the
// same player object, changed in place, as both the previous and the
// current player, so what changed is found against this copy.
struct PlayerSeen {
    std::string id;
    std::string name;
    uint32_t gamerScore = 0;
};
std::optional<PlayerSeen> playerSeen;

PlayerSeen seen(const HCUser& user)
{
    return PlayerSeen{user.userId().value_or("nil"), user.name().value_or(""), user.gamerScore()};
}

// The player-changed notice: another player, or what changed about the same
// one; nothing when nothing the demo shows changed.
void printPlayerChange(const platform::Notification& n)
{
    auto current = n.userInfo ? platform::as<HCUser>(n.userInfo->objectForKey(HCNSNotificationInfoCurrentUser)) : nullptr;
    if (!current) return;
    auto previousUser = n.userInfo ? platform::as<HCUser>(n.userInfo->objectForKey(HCNSNotificationInfoPreviousUser)) : nullptr;
    const std::optional<PlayerSeen> previous = playerSeen ? playerSeen : previousUser ? std::optional(seen(*previousUser)) : std::nullopt;
    const PlayerSeen now = seen(*current);
    playerSeen = now;
    const std::string who = "player " + now.id + " \"" + now.name + "\"";
    if (!previous || previous->id != now.id) {
        say("notice: " + n.name + " from " +
            (previous ? "player " + previous->id + " \"" + previous->name + "\"" : std::string("nobody")) + " to " + who);
        return;
    }
    std::string changes;
    if (previous->name != now.name) changes += "name \"" + previous->name + "\" -> \"" + now.name + "\"";
    if (previous->gamerScore != now.gamerScore) {
        changes += (changes.empty() ? "" : ", ") + std::string("gamerscore ") + std::to_string(previous->gamerScore) +
                   " -> " + std::to_string(now.gamerScore);
    }
    if (!changes.empty()) say("notice: " + n.name + " " + who + ": " + changes);
}

void printNotices(const void* token)
{
    for (const char* name : kNotices) {
        platform::NotificationCenter::defaultCenter().addObserver(token, name, [](const platform::Notification& n) {
            if (n.name == HCNSNotificationUserChanged) {
                printPlayerChange(n);
                return;
            }
            std::string line = "notice: " + n.name;
            if (n.userInfo) {
                for (const auto& [key, value] : n.userInfo->entries()) {
                    line += " " + key + "=" + describe(value);
                }
            }
            say(line);
        });
    }
}

int framesPumped = 0;

// Pumps the main run loop for one frame's worth of wall time, or less when
// `done` answers yes first.
void frame(const std::function<bool()>& done = [] { return false; })
{
    ++framesPumped;
    platform::Thread::mainThread()->runLoop()->runUntil(done, kFrameSeconds);
    demointerrupt::endIfAsked();
}

// One service request's reply (nil after a failure or when none came in
// time), waited for frame by frame.
std::shared_ptr<HCPaginatedSeries> serviceReply(int frames, const std::function<void(HCDelegate, HCDelegate)>& start)
{
    const DemoFrames demo{&say, [](const std::function<bool()>& done) { frame(done); }, frames};
    return platform::as<HCPaginatedSeries>(await(demo, start));
}

// "1 post", "3 posts".
std::string counted(long long count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The game's leaderboards: from the service while online, then from the
// copy the log-in left on the device, which is what the game reads offline.
bool showLeaderboards(int frames)
{
    auto describe = [](const std::vector<platform::ObjectPtr>& objects) {
        std::string line;
        for (const auto& object : objects) {
            auto board = platform::as<HCLeaderboard>(object);
            if (!board) continue;
            line += (line.empty() ? "" : ", ") + board->name().value_or("?");
            if (auto score = board->currentUserScore()) line += " (yours " + std::to_string(score->score()) + ")";
        }
        return line.empty() ? std::string("none") : line;
    };
    auto online = serviceReply(frames, [](HCDelegate success, HCDelegate failure) {
        HCLeaderboardService::getLeaderboardsForApplication(std::nullopt, std::nullopt, success, failure);
    });
    if (!online) {
        say("leaderboards: could not be listed by the service");
        return false;
    }
    say("leaderboards: from the service: " + describe(online->objects()));
    auto local = HCLeaderboardService::getLeaderboardsLocal();
    say("leaderboards: offline from the device: " + describe({local.begin(), local.end()}));
    return !local.empty();
}

// A score reply's lines: "#rank name score", the player's marked.
std::string describeScores(const std::shared_ptr<HCPaginatedSeries>& series)
{
    std::string text;
    for (const auto& object : series ? series->objects() : std::vector<platform::ObjectPtr>{}) {
        auto score = platform::as<HCHighScore>(object);
        if (!score) continue;
        const auto& user = score->user();
        std::string name = user && user->name() && !user->name()->empty() ? *user->name()
                           : user && user->resourceId()                   ? "player " + *user->resourceId()
                                                                          : "?";
        if (user && user->isLocalUser()) name += " (you)";
        text += (text.empty() ? "" : ", ") + std::string("#") + std::to_string(score->rank()) + " " + name + " " +
                score->displayText();
    }
    return text;
}

// Rivals of the local server post their scores; the game reads the top of
// leaderboard 1 and the scores around the player.
bool showTopScores(localserver::Server* server, localserver::ScoreStore* serverScores, int frames)
{
    if (server && serverScores) {
        // Players of the service like any other: the score rows carry the
        // names the service holds for them.
        const std::vector<std::pair<std::string, std::string>> players{
            {"2001", "Finn"}, {"2002", "Gina"}, {"2003", "Hugo"}, {"2004", "Ida"}, {"2005", "Jon"}};
        for (const auto& [id, name] : players) server->accounts().addUser(localserver::User(id, name));
        const std::vector<std::pair<std::string, std::int64_t>> rivals{
            {localserver::defaults::kOtherUserId, 73500}, {"2001", 91000}, {"2002", 60120},
            {"2003", 52000}, {"2004", 40300}, {"2005", 12800}};
        for (const auto& [user, value] : rivals) {
            localserver::StoredScore posted;
            posted.userId = user;
            posted.leaderboardId = "1";
            posted.score = value;
            // Two of them play near the player (Oslo), for the map of scores nearby.
            if (user == localserver::defaults::kOtherUserId) {
                posted.latitude = 59.95;
                posted.longitude = 10.80;
            } else if (user == "2001") {
                posted.latitude = 59.89;
                posted.longitude = 10.70;
            }
            serverScores->accept(posted);
        }
    }
    auto top = serviceReply(frames, [](HCDelegate ok, HCDelegate failed) {
        HCHighScoreService::getPage(1, 3, "1", std::nullopt, false, true, 0, ok, failed);
    });
    auto topSection = top && top->count() > 0 ? platform::as<HCTableSectionDescription>(top->objects().back()) : nullptr;
    auto around = serviceReply(frames, [](HCDelegate ok, HCDelegate failed) {
        HCHighScoreService::getHighScoreNearCurrentUserForLeaderboard("1", 1, 1, ok, failed);
    });
    say("high scores: top of leaderboard 1: " + describeScores(topSection ? topSection->page() : nullptr));
    say("high scores: around you: " + describeScores(around));
    return topSection && around && around->count() > 0;
}

// The network goes away; the player unlocks an achievement, which is stored
// on the device at once (its post, sent at once, does not get through); the
// network comes back, the client logs in again and uploads it, and the
// server holds it. Without a store of our own (a
// server given with --server) only the device's side is shown. A server
// that already holds the unlock (an earlier run against it) has told the
// device so at the log-in, and progress is never lowered or sent twice:
// there is nothing to unlock then, which is no failure.
bool unlockOffline(localserver::Server* server, const localserver::AchievementStore* serverAchievements,
                   const DemoDelegate& game, int frames)
{
    auto achievement = HCAchievement::achievement(localserver::defaults::kFirstAchievementId);
    const std::string title = achievement->title().value_or("achievement " + *achievement->resourceId());
    if (achievement->isUnlocked()) {
        say("achievements: '" + title + "' already unlocked on the service (by an earlier run against it), " +
            "so there is nothing to unlock offline");
        return true;
    }
    auto reachability = HCReachability::Instance();
    reachability->setOverride(HCReachability::NotReachable);
    // Our own server plays the network that is gone: the unlock's post is lost.
    if (server) {
        server->faults().injectFor("POST", "users/@me/unlocked_achievements.xml", localserver::Fault::dropConnection());
    }
    frame();
    auto storedOnDevice = std::make_shared<bool>(false);
    HCAchievementService::updateAchievement(
        *achievement->resourceId(), 100.0, false,
        HCDelegate::withFunction([storedOnDevice](const platform::ObjectPtr&) { *storedOnDevice = true; }), HCDelegate());
    frame([storedOnDevice] { return *storedOnDevice; });
    const bool stored = *storedOnDevice;
    say(std::string("achievements: '") + title + "' unlocked offline (online: " + (Halcyon::isOnline() ? "yes" : "no") +
        "), " + (stored ? "stored on the device" : "NOT stored"));
    const int loginsBefore = game.onlineLogins;
    reachability->setOverride(HCReachability::ReachableViaWiFi);
    // The log-in the network's return starts ends here, with or without a
    // store to read: left running, it would end in a later step, the one
    // that stands in for the friend's device among them.
    auto loggedInAgain = [&] { return game.onlineLogins > loginsBefore; };
    auto held = [&] {
        auto progress = serverAchievements
                            ? serverAchievements->progress(localserver::defaults::kUserId,
                                                           localserver::defaults::kFirstAchievementId)
                            : std::nullopt;
        return loggedInAgain() && progress && progress->percentComplete >= 100.0;
    };
    for (int i = 0; i < frames && !(serverAchievements ? held() : loggedInAgain()); ++i) {
        frame();
    }
    if (!serverAchievements) {
        if (!loggedInAgain()) say("achievements: no log-in after the network came back");
        return stored && loggedInAgain();
    }
    const bool confirmed = stored && held();
    say(std::string("achievements: '") + title + "' " +
        (confirmed ? "confirmed by the server after the log-in (100 %)" : "NOT confirmed by the server"));
    return confirmed;
}

// The banners the score, achievement and challenge classes and the server
// raise, as those callers ask for them, half a second apart; then the game
// runs on until every one has slid away.
void showBannerGallery(GameWindow& window)
{
    say("banners: what the player sees of scores, achievements, challenges and the server");
    auto notices = HCNotification::sharedInstance();
    auto ben = HCResource::initWithId<HCUser>(std::string("1002"));
    ben->setName(std::string("Ben"));
    auto server = std::make_shared<HCServerNotification>();
    server->setText(std::string("Ben beat your score"));
    server->setDetail(std::string("on Level 12"));
    server->setScore(std::string("120"));
    const std::vector<std::function<void()>> steps = {
        [&] {
            auto score = HCNotificationData::dataWithText("New high score!", HCNotificationCategoryHighScore,
                                                          HCNotificationTypeSuccess);
            score->imageName = "HighScoreNotificationIcon.png";
            notices->showBackgroundNotice(score, HCNotificationStatusSuccess);
        },
        [&] { notices->showAchievementNotice(HCAchievementNoticeInfo{"1", "Sharpshooter", 25, {}, nullptr}, 100.0); },
        [&] { notices->showAchievementNotice(HCAchievementNoticeInfo{"2", "Marathon", 50, {}, nullptr}, 40.0); },
        [&] { notices->showChallengeNotice(HCChallengeNoticeInfo{ben, {}, nullptr}); },
        [&] { notices->showServerNotification(server); },
    };
    const double start = platform::Clock::currentTime();
    size_t next = 0;
    // Long enough for the last to come and go: 2 s of starts, 4.75 s shown.
    while (platform::Clock::currentTime() - start < 7.5) {
        if (next < steps.size() && platform::Clock::currentTime() - start >= 0.5 * static_cast<double>(next)) {
            steps[next++]();
        }
        frame();
        if (next == steps.size() && window.bannersOnScreen() == 0) break;
    }
}

void printTopics(const std::shared_ptr<platform::Array>& topics, std::string& firstWithDiscussions)
{
    if (!topics) return;
    for (const auto& object : topics->items()) {
        auto topic = platform::as<HCForumTopic>(object);
        if (!topic) continue;
        say("forum: " + std::string(2 * topic->indentLevel(), ' ') + topic->title().value_or("?") + " (" +
            counted(topic->threadCount(), "discussion") + ")");
        if (firstWithDiscussions.empty() && topic->threadCount() > 0) firstWithDiscussions = *topic->resourceId();
        printTopics(topic->children(), firstWithDiscussions);
    }
}

// The game's forum: its topic tree, indented by generation, and the first
// page of discussions of the first topic that holds some. False when the
// forum could not be read.
bool showForum(const std::string& gameId, int frames)
{
    auto tree = serviceReply(frames, [&](HCDelegate success, HCDelegate failure) {
        HCForumService::getTopicsForApplication(gameId, success, failure);
    });
    if (!tree) {
        say("forum: could not be read");
        return false;
    }
    std::string topicId;
    printTopics(platform::Array::make(tree->objects()), topicId);
    if (topicId.empty()) return true;
    say("forum: first page of discussions in topic " + topicId + ":");
    auto page = serviceReply(frames, [&](HCDelegate success, HCDelegate failure) {
        HCForumService::getThreadsForTopic(topicId, 1, success, failure);
    });
    if (!page) return false;
    for (const auto& object : page->objects()) {
        auto thread = platform::as<HCForumThread>(object);
        if (!thread) continue;
        std::string author = thread->lastPostAuthor() ? thread->lastPostAuthor()->name().value_or("") : "";
        say("forum:   " + std::string(thread->isSticky() ? "[sticky] " : "") + thread->title().value_or("?") + ", " +
            counted(thread->postCount(), "post") + ", last by " + author);
    }
    return true;
}

// What the player classes tell the game about the rival and the game.
class RivalDelegate final : public HCUserDelegate, public HCCurrentUserDelegate {
public:
    void didGetFriendsWithThisApplication(const std::vector<HCUserPtr>& friends, const HCUserPtr&) override
    {
        std::string names;
        for (const auto& user : friends) names += (names.empty() ? "" : ", ") + user->name().value_or("?");
        say("players: friends who play this game: " + (names.empty() ? std::string("none") : names));
        done = true;
    }
    void didFailGetFriendsWithThisApplicationHCUser(const HCUserPtr&) override { failedAt("listing friends"); }
    void didSendFriendRequest() override
    {
        say("players: now following the rival");
        done = true;
    }
    void didFailSendFriendRequest() override { failedAt("following"); }
    void didFavoriteCurrentGame() override
    {
        say("players: the game is a favourite, with a review");
        done = true;
    }
    void didFailFavoriteCurrentGame() override { failedAt("marking the favourite"); }

    bool done = false;
    bool failure = false;

private:
    void failedAt(const std::string& what)
    {
        say("players: " + what + " failed");
        done = failure = true;
    }
};

// The player finds a rival by name, follows them, lists the friends who
// play the game, reads the game's profile, makes it a favourite with a
// review, and sees the counts of the badge. False when a step failed.
bool showPlayers(int frames)
{
    RivalDelegate rival;
    HCUser::setDelegate(&rival);
    HCCurrentUser::setDelegate(&rival);
    auto wait = [&] {
        for (int i = 0; i < frames && !rival.done; ++i) frame([&] { return rival.done; });
        const bool ok = rival.done && !rival.failure;
        rival.done = false;
        return ok;
    };
    auto found = serviceReply(frames, [](HCDelegate success, HCDelegate failure) {
        HCUserService::findUsersByName("dora", 1, success, failure);
    });
    auto dora = found && found->count() > 0 ? platform::as<HCUser>(found->objectAtIndex(0)) : nullptr;
    bool ok = dora != nullptr;
    if (dora) {
        say("players: found rival \"" + dora->name().value_or("") + "\" (player " + dora->resourceId().value_or("?") + ")");
        HCCurrentUser::sendFriendRequest(dora);
        ok = wait();
    } else {
        say("players: no rival named dora");
    }
    auto me = HCCurrentUser::currentUser();
    if (ok && me) {
        me->getFriendsWithThisApplication();
        ok = wait();
    }
    auto profile = serviceReply(frames, [](HCDelegate success, HCDelegate failure) {
        HCClientApplicationService::getGameProfilePageInfo(std::nullopt, success, failure);
    });
    auto info = profile && profile->count() > 0 ? platform::as<HCGameProfilePageInfo>(profile->objectAtIndex(0)) : nullptr;
    if (info) {
        say("game: \"" + info->name().value_or("?") + "\", leaderboards " + (info->hasLeaderboards() ? "yes" : "no") +
            ", achievements " + (info->hasAchievements() ? "yes" : "no"));
    }
    HCCurrentUser::favoriteCurrentGame(std::string("Calm, clever and fair."));
    ok = wait() && ok && info;
    say("players: badge count " + std::to_string(HCCurrentUser::HalcyonBadgeCount()) + ", unviewed challenges " +
        std::to_string(HCCurrentUser::unviewedChallengesCount()) + ", had friends at start-up " +
        (HCCurrentUser::hasFriends() ? "yes" : "no") + ", automatic posts " +
        (HCCurrentUser::allowsAutoSocialNotifications() ? "allowed" : "not allowed"));
    HCUser::setDelegate(nullptr);
    HCCurrentUser::setDelegate(nullptr);
    return ok;
}

// The dashboard over the game: opened on its first tab, printed as the
// screen shows it, and closed. False when it did not open or close.
bool showDashboard(GameWindow& window, const DemoFrames& demo)
{
    window.makeKeyWindow();
    Halcyon::launchDashboard();
    if (!waitUntil(demo, &Halcyon::dashboardVisible)) {
        say("dashboard: did not open");
        return false;
    }
    std::istringstream screen(platform::ui::Driver::describeScreen());
    for (std::string line; std::getline(screen, line);) {
        say("dashboard: " + line);
    }
    return closeDashboard(demo);
}

// The game's pages as the player reads them: the dashboard opened on the
// leaderboards, the first board's high scores (all time, then today) and the
// scores near the player on the map, then opened again on the game's
// achievements. False when a page did not come up.
bool showGamePages(GameWindow& window, const DemoFrames& demo)
{
    platform::ui::Driver driver;
    window.makeKeyWindow();
    Halcyon::launchDashboardWithListLeaderboardsPage();
    bool shown = waitFor(demo, "HCLeaderboardController");
    if (shown) {
        printRows(demo, "pages", "leaderboards");
        auto list = std::dynamic_pointer_cast<HCTableControllerHelper>(top());
        driver.selectRow(list->tableView(), platform::ui::IndexPath{0, 0});
        shown = waitFor(demo, "HCHighScoreController");
    }
    if (shown) {
        printRows(demo, "pages", top()->title() + ", all time");
        driver.tapButton("Today");
        shown = waitFor(demo, "HCHighScoreController");
    }
    if (shown) {
        printRows(demo, "pages", top()->title() + ", today");
        auto mapButton = top()->navigationItem()->rightBarButtonItem();
        if (!mapButton) say("pages: no map button");
        shown = mapButton && driver.tap(mapButton) && waitFor(demo, "HCHighScoreMapViewController");
    }
    if (shown) {
        say("pages: scores near you on the map");
        auto map = platform::ui::Driver::findFirst<platform::ui::MapView>(top()->view());
        const auto pins = platform::ui::Driver::readMapPins(map);
        for (const auto& pin : pins) say("pages:   " + pin);
        if (pins.empty()) say("pages:   (no pins)");
    }
    shown = closeDashboard(demo) && shown;
    if (shown) {
        Halcyon::launchDashboardWithAchievementsPage();
        shown = waitFor(demo, "HCAchievementListController");
    }
    if (shown) printRows(demo, "pages", "achievements");
    return closeDashboard(demo) && shown;
}

// The Game Center leaderboard that leaderboard 1 maps to (--game-center).
constexpr const char* kGameCenterBoard = "demo.high_score";

// A new best with Game Center on: reported to the service and to Game
// Center, and read back from both (the service's side only from our own
// server). False when either does not hold it.
bool mirrorBestScore(const localserver::ScoreStore* serverScores, int frames)
{
    namespace gc = platform::gamecenter;
    say("game center: player " + gc::LocalPlayer::localPlayer().playerID().value_or("(none)") + " signed in: " +
        (Halcyon::isLoggedIntoGameCenter() ? "yes" : "no"));
    for (const auto& report : gc::GameCenterDevice::reportedScores()) {
        say("game center: " + std::to_string(report.value) + " on " + report.category + " sent at the first sign-in");
    }
    const std::int64_t best = 57300;
    auto outcome = std::make_shared<std::optional<bool>>();
    HCHighScoreBatch batch{
        std::make_shared<HCHighScoreBatchEntry>(std::string("1"), best, std::nullopt, std::nullopt, nullptr)};
    HCHighScoreService::batchSetHighScores(
        &batch, true, HCDelegate::withFunction([outcome](const platform::ObjectPtr&) { *outcome = true; }),
        HCDelegate::withFunction([outcome](const platform::ObjectPtr&) { *outcome = false; }), std::nullopt);
    for (int i = 0; i < frames && !*outcome; ++i) frame([outcome] { return outcome->has_value(); });
    const std::optional<bool> ended = *outcome;
    bool onGameCenter = false;
    for (const auto& report : gc::GameCenterDevice::reportedScores()) {
        onGameCenter = onGameCenter || (report.category == kGameCenterBoard && report.value == best);
    }
    const bool onService =
        !serverScores || serverScores->find(localserver::defaults::kUserId, "1", best).has_value();
    const std::string text = std::to_string(best);
    say("game center: " + text + " on leaderboard 1 " +
        (ended.value_or(false) ? "reported to both" : "NOT reported to both") + ": the service " +
        (serverScores ? (onService ? "holds it" : "does NOT hold it") : "answered") + ", Game Center " +
        (onGameCenter ? "holds it on " + std::string(kGameCenterBoard) : "does NOT hold it"));
    return ended.value_or(false) && onService && onGameCenter;
}

// What the invitation and post classes tell the game.
class InviteAndPostDelegate final : public HCInviteDelegate, public HCSocialNotificationApiDelegate {
public:
    void didSendInvite(const std::shared_ptr<HCInvite>&) override { finish("sent"); }
    void didFailSendInvite(const std::shared_ptr<HCInvite>&) override { finish("failed"); }
    void didSendSocialNotification() override { finish("sent"); }
    void didFailSendSocialNotification() override { finish("failed"); }

    // Waits frame by frame for the next outcome: "sent", "failed", or "" when none came.
    std::string wait(int frames)
    {
        for (int i = 0; i < frames && outcome.empty(); ++i) frame([&] { return !outcome.empty(); });
        return std::exchange(outcome, std::string());
    }

private:
    void finish(const std::string& what) { outcome = what; }
    std::string outcome;
};

// The invitations the signed-in player received, unviewed first marked viewed.
std::vector<std::shared_ptr<HCInvite>> receivedInvites(int frames)
{
    std::vector<std::shared_ptr<HCInvite>> invites;
    auto reply = serviceReply(frames, [](HCDelegate success, HCDelegate failure) {
        HCInviteService::getInvitesForUser(nullptr, 1, success, failure);
    });
    if (reply)
        for (const auto& object : reply->objects())
            if (auto invite = platform::as<HCInvite>(object)) invites.push_back(invite);
    return invites;
}

// The player invites a friend and a contact from the address book; the
// friend, on their own device, lists the invitation and ignores it. False
// when a step failed.
bool inviteAFriend(int frames, InviteAndPostDelegate& outcomes)
{
    auto primary = serviceReply(frames, [](HCDelegate success, HCDelegate failure) {
        HCInviteService::getDefaultInviteDefinitionForApplication(success, failure);
    });
    auto definition = primary && primary->count() > 0 ? platform::as<HCInviteDefinition>(primary->objectAtIndex(0))
                                                       : nullptr;
    if (!definition) {
        say("invites: the game has no invitation");
        return false;
    }
    auto invite = HCInvite::initWithInviteDefinition(definition);
    auto contact = std::make_shared<HCDeviceContact>();
    contact->name = std::string("Eve");
    contact->number = std::string("+15550100");
    invite->sendInviteToUsers(
        {HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId)), contact});
    if (outcomes.wait(frames) != "sent") {
        say("invites: the invitation was not sent");
        return false;
    }
    say("invites: '" + definition->inviteIdentifier().value_or("?") + "' sent to " +
        localserver::defaults::kOtherUserName + " and, by text message, to Eve (" + *contact->number + ")");

    // The demo stands in for the friend's device too: requests signed with
    // the friend's token, then the player's own again. The service's
    // provider is the friend's meanwhile, so the player's client must be
    // quiet first: a log-in or an upload of his started then would go out
    // as the friend's.
    auto own = Halcyon::provider();
    auto quiet = [&own] {
        return !Halcyon::isBootstrapInProgress() && own->queuedActionCount() == 0 && own->runningLoaderCount() == 0;
    };
    for (int i = 0; i < frames && !quiet(); ++i) frame(quiet);
    if (!quiet()) {
        say("invites: the player's client is still busy; the friend's device is not stood in for");
        return false;
    }
    const auto ownToken = own->accessToken();
    auto friendsDevice = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                            localserver::defaults::kProductSecret);
    friendsDevice->setAccessToken(localserver::defaults::kOtherUserToken,
                                  localserver::defaults::kOtherUserTokenSecret);
    HCService::setProvider(friendsDevice);
    auto listed = receivedInvites(frames);
    bool ignored = false;
    if (!listed.empty()) {
        const auto& first = listed.front();
        say(std::string("invites: ") + localserver::defaults::kOtherUserName + " lists " +
            counted(static_cast<long long>(listed.size()), "invitation") + ", the newest from " +
            (first->senderUser() ? first->senderUser()->name().value_or("?") : std::string("?")) + ": \"" +
            first->userMessage().value_or("") + "\" (" + first->state().value_or("?") + ")");
        auto done = serviceReply(frames, [&](HCDelegate success, HCDelegate failure) {
            HCInviteService::ignoreInvite(first->resourceId(), success, failure);
        });
        const auto left = receivedInvites(frames);
        ignored = done && std::none_of(left.begin(), left.end(), [&](const auto& i) {
                      return i->resourceId() == first->resourceId();
                  });
        say(std::string("invites: ") + localserver::defaults::kOtherUserName +
            (ignored ? " ignores it; it is no longer listed" : " could not ignore it"));
    } else {
        say(std::string("invites: ") + localserver::defaults::kOtherUserName + " lists no invitation");
    }
    HCService::setProvider(own);
    friendsDevice->cleanupRequestThread();
    // The friend's token went to the device's credential store; the player's goes back.
    if (ownToken) own->setAccessToken(ownToken->key, ownToken->secret);
    return ignored;
}

// The value of one of the player's settings as the service holds it.
std::optional<std::string> settingValue(const std::string& key, int frames)
{
    auto reply = serviceReply(frames, [&](HCDelegate success, HCDelegate failure) {
        HCUserSettingService::getUserSettingWithKey(key, success, failure);
    });
    auto setting = reply && reply->count() > 0 ? platform::as<HCUserSetting>(reply->objectAtIndex(0)) : nullptr;
    return setting ? setting->value() : std::nullopt;
}

// The player switches the setting "location" off and on again.
bool switchLocationSetting(int frames)
{
    bool ok = true;
    for (bool on : {false, true}) {
        serviceReply(frames, [&](HCDelegate success, HCDelegate failure) {
            HCUserSettingService::setUserSettingWithKey(std::string("location"), on, success, failure);
        });
        const auto value = settingValue("location", frames);
        const bool held = value == std::optional<std::string>(on ? "1" : "0");
        say(std::string("settings: location switched ") + (on ? "on" : "off") + ", the service holds " +
            value.value_or("nothing"));
        ok = ok && held;
    }
    return ok;
}

// A game event posted to one linked network.
bool postGameEvent(int frames, InviteAndPostDelegate& outcomes)
{
    auto post = HCSocialNotification::initWithText(std::string("Level 12 cleared in 41 moves"));
    post->addSendToNetwork(1);
    HCSocialNotificationApi::publish(post);
    const bool sent = outcomes.wait(frames) == "sent";
    say(std::string("posts: \"") + post->text.value_or("") + "\" " + (sent ? "posted to Twitter" : "NOT posted"));
    return sent;
}

// The platform hands the application its push token; the service keeps it.
bool registerPushToken(int frames)
{
    auto token = std::make_shared<platform::Data>(std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8});
    auto reply = serviceReply(frames, [&](HCDelegate success, HCDelegate failure) {
        HCPushNotificationService::setDeviceToken(token, success, failure);
    });
    say("push: device token " + HCPushNotificationService::deviceTokenText(*token) +
        (reply ? " registered for the " : " NOT registered for the ") +
        (Halcyon::mUseSandboxPushNotificationServer() ? "sandbox" : "production") + " push server");
    return reply != nullptr;
}

// The invitation, settings, post and push-token steps; false when one failed.
bool showInvitesSettingsPostAndPush(int frames)
{
    InviteAndPostDelegate outcomes;
    HCInvite::setDelegate(&outcomes);
    HCSocialNotificationApi::setDelegate(&outcomes);
    const bool invited = inviteAFriend(frames, outcomes);
    const bool switched = switchLocationSetting(frames);
    const bool posted = postGameEvent(frames, outcomes);
    const bool pushed = registerPushToken(frames);
    HCSocialNotificationApi::setDelegate(nullptr);
    HCInvite::setDelegate(nullptr);
    return invited && switched && posted && pushed;
}

constexpr const char* kUsage = "usage: halcyon-demo [--server URL] [--seconds N] [--game-center] [--skip-pages]";

// One line: what is wrong with the arguments, and how they go.
int usage(const std::string& problem)
{
    std::cerr << "halcyon-demo: " << problem << " (" << kUsage << ")\n";
    return 2;
}

int help()
{
    std::cout << kUsage << "\n\n"
              << "  --server URL    the service to use (default: a local server inside the demo)\n"
                 "  --seconds N     how long each step waits for the service (default: 10); the\n"
                 "                  tour of the pages has six times that as its bound\n"
                 "  --game-center   enable the headless Game Center (default: off)\n"
                 "  --skip-pages    leave out the tour of the dashboard's pages (default: off)\n"
                 "  -h, --help      print this and exit\n";
    return 0;
}

// The player turns location sharing on in the settings; the device finds
// them and the service hears where they are. Another server's record cannot
// be read: the location is left out then.
DemoOutcome shareLocation(localserver::Server* server, int frames)
{
    platform::ui::LocationManager::setDevicePosition({59.9139, 10.7522});
    Halcyon::setUserDistanceUnit(HCDistanceUnitSharingWithoutFix);
    Halcyon::startLocationManagerIfAllowed();
    if (!server) {
        return DemoOutcome::LeftOut;
    }
    auto heard = [&] {
        auto user = server->accounts().user(localserver::defaults::kUserId);
        return user && user->position;
    };
    for (int i = 0; i < frames && !heard(); ++i) {
        frame(heard);
    }
    if (!heard()) {
        say("location: the service did not hear the position");
        return DemoOutcome::Failed;
    }
    const auto position = *server->accounts().user(localserver::defaults::kUserId)->position;
    char text[160];
    std::snprintf(text, sizeof text, "location: %.4f, %.4f shared with the service (sharing %s)", position.latitude,
                  position.longitude, Halcyon::userDistanceUnit() == HCDistanceUnitSharingOn ? "on" : "not confirmed");
    say(text);
    return DemoOutcome::Shown;
}

}  // namespace

int main(int argc, char** argv)
{
    std::optional<std::string> serverUrl;
    int seconds = 10;
    bool gameCenter = false;
    // The tour of the dashboard's pages is most of a run's time; a run that
    // shows something else can leave it out.
    bool skipPages = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            return help();
        }
        if (arg == "--game-center") {
            gameCenter = true;
            continue;
        }
        if (arg == "--skip-pages") {
            skipPages = true;
            continue;
        }
        if (arg != "--server" && arg != "--seconds") {
            return usage("unknown option \"" + arg + "\"");
        }
        if (i + 1 >= argc) {
            return usage(arg + " needs a value");
        }
        const std::string value = argv[++i];
        if (arg == "--server") {
            if (!value.starts_with("http://") && !value.starts_with("https://")) {
                return usage("--server wants an http:// or https:// address, not \"" + value + "\"");
            }
            serverUrl = value;
        } else {
            seconds = std::atoi(value.c_str());
            if (seconds <= 0) {
                return usage("--seconds wants a whole number of seconds, not \"" + value + "\"");
            }
        }
    }

    platform::Thread::adoptCurrentAsMain();
    // A game's release log: the client's debug lines stay out, and so does
    // what the demo tells in its own words (the presence channel's end it
    // asked the broker for).
    platform::setLogSink([](platform::LogLevel level, const std::string& line) {
        if (level == platform::LogLevel::Debug || presencedemo::isOwnDisconnect(line)) return;
        std::cout << "log: " << platform::logLevelName(level) << ": " << line << std::endl;
    });

    // The game's sandbox and bundle, fresh each run. Ctrl-C is noted from
    // before the folder exists, so that no moment leaves it behind: until
    // the client is up, the clean-up only removes the folder.
    std::string folder = (std::filesystem::temp_directory_path() / "halcyon-demo-XXXXXX").string();
    auto removeFolder = [&folder] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    };
    demointerrupt::install(removeFolder);
    if (mkdtemp(folder.data()) == nullptr) {
        std::perror("halcyon-demo: mkdtemp");
        return 1;
    }
    std::filesystem::create_directories(folder + "/Bundle");
    // The dashboard's tabs: Now Playing shows the game's page, My Halcyon
    // the player's.
    {
        std::ofstream tabs(folder + "/Bundle/TabBarItems.plist");
        tabs << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                "<key>tabs</key><array>"
                "<dict><key>name</key><string>GameProfile</string><key>title</key><string>Now Playing</string></dict>"
                "<dict><key>name</key><string>MyHalcyon</string><key>title</key><string>My Halcyon</string></dict>"
                "<dict><key>name</key><string>GameDiscovery</string><key>title</key><string>Games</string></dict>"
                "</array></dict></plist>";
    }
    // The game ships its leaderboard in the offline configuration, so
    // scores are kept before the first log-in ever reaches the service.
    {
        std::ofstream config(folder + "/Bundle/halcyon_offline_config.xml");
        config << "<resources><offline><leaderboards><leaderboard><id>1</id><name>High Score</name><active>1</active>"
                  "<visible>1</visible><descending_sort_order>1</descending_sort_order><start_version>0000.00.00"
                  "</start_version><end_version>9999.99.99</end_version></leaderboard></leaderboards></offline>"
                  "</resources>";
    }
    if (gameCenter) {
        std::ofstream map(folder + "/Bundle/HCGameCenter.plist");
        map << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
               "<key>Leaderboards</key><dict><key>1</key><string>"
            << kGameCenterBoard << "</string></dict></dict></plist>";
        // The device's Game Center player, signed in there already.
        platform::gamecenter::GameCenterDevice::setPlayer(std::string("G:demo"));
    }
    platform::Sandbox::configure(folder + "/Sandbox", folder + "/Bundle");
    say("halcyon-demo: sandbox " + folder + "/Sandbox");

    std::unique_ptr<localserver::Server> server;
    std::shared_ptr<localserver::ScoreStore> serverScores;
    std::shared_ptr<localserver::AchievementStore> serverAchievements;
    if (!serverUrl) {
        localserver::ServerOptions options;
        options.broker = presencedemo::brokerFromEnvironment();
        server = std::make_unique<localserver::Server>(options);
        localserver::registerServiceRoutes(*server);
        auto bucket = localserver::registerStorageRoutes(*server);
        serverScores = localserver::registerScoreRoutes(*server, bucket);
        serverAchievements = localserver::registerAchievementRoutes(*server);
        localserver::registerLeaderboardRoutes(*server, serverScores, serverAchievements);
        localserver::registerScoreQueryRoutes(*server, serverScores, bucket);
        if (!server->start()) {
            std::cerr << "halcyon-demo: the local server did not start: " << server->error() << "\n";
            removeFolder();
            return 1;
        }
        serverUrl = server->serviceRootUrl();
        say("halcyon-demo: local server at " + *serverUrl);
    } else {
        // Where another server's message broker takes clients is not the
        // demo's to know: the client gets no presence host, and tries none.
        HCSettings::setDefaultOverride("presence-host", "");
    }
    HCSettings::setDefaultOverride("server-url", *serverUrl);

    const char* const token = "halcyon-demo";
    printNotices(token);
    // Each change of the game server's reachability, as the client tells it.
    bool reachabilityTold = false;
    HCReachabilityObserver reachability(HCDelegate::withFunction([&](const platform::ObjectPtr& status) {
        auto number = platform::as<platform::Number>(status);
        say(number && number->intValue() != HCReachability::NotReachable ? "reachability: game server reachable"
                                                                         : "reachability: game server cannot be reached");
        reachabilityTold = true;
    }));
    DemoDelegate game;
    auto delegates = HCDelegatesContainer::containerWithHalcyonDelegate(&game);
    auto settings = platform::Dictionary::make();
    settings->setString(HalcyonSettingShortDisplayName, localserver::defaults::kGameShortName);
    settings->setString(HalcyonSettingInitialUserId, localserver::defaults::kUserId);
    if (gameCenter) settings->setObject(HalcyonSettingGameCenterEnabled, platform::Number::makeBool(true));
    // The player approved the service on an earlier launch, so start-up logs
    // in as the local server's first player at once.
    Halcyon::setUserApprovedHalcyon();
    // The game's own window, where the client's banners slide in.
    auto window = std::make_shared<GameWindow>(platform::ui::Screen::mainScreen()->bounds());
    window->setHidden(false);
    settings->setObject(HalcyonSettingPresentationWindow, window);

    Halcyon::initializeWithProductKey(localserver::defaults::kProductKey, localserver::defaults::kProductSecret,
                                      localserver::defaults::kGameName, settings, delegates);
    // Two levels won before the log-in has reached the service: the scores
    // are kept on the device (the better one pending) and go out after it.
    say(std::string("scores: the game plays offline (online: ") + (Halcyon::isOnline() ? "yes" : "no") + ")");
    for (long long score : {48211LL, 30500LL}) {
        const std::string text = std::to_string(score);
        HCHighScoreService::setHighScore(
            score, std::string("1"), true,
            HCDelegate::withFunction([text](const platform::ObjectPtr&) { say("scores: " + text + " stored on the device"); }),
            HCDelegate::withFunction([text](const platform::ObjectPtr&) { say("scores: " + text + " NOT stored"); }));
    }
    std::string services;
    for (const HCServiceEntry& service : HCServiceOrder::services()) {
        services += (services.empty() ? "" : ", ") + service.name;
    }
    say("client: up: Halcyon " + Halcyon::releaseVersionString() + " (" + std::to_string(Halcyon::versionNumber()) +
        ") for \"" + Halcyon::applicationDisplayName() + "\" (\"" + Halcyon::applicationShortDisplayName() +
        "\"), session " + Halcyon::sessionId());
    say("client: services up: " + services);
    say("client: player " + Halcyon::lastLoggedInUserId() + " \"" + Halcyon::lastLoggedInUserName().value_or("") +
        "\", online: " + (Halcyon::isOnline() ? "yes" : "no") + ", game sessions counted: " +
        std::to_string(Halcyon::numberOfGameSessions()));

    // Shuts the client down, stops the local server and leaves no files.
    auto shutDown = [&] {
        Halcyon::shutdown();
        platform::NotificationCenter::defaultCenter().removeObserver(token);
        say("client: shut down after " + counted(framesPumped, "frame") + " of the game's loop");
        if (server) {
            server->stop();
        }
        platform::setLogSink(nullptr);
        removeFolder();
    };
    // From now on Ctrl-C between two frames ends the run the same way.
    demointerrupt::install(shutDown);

    // The frame loop: the game server's reachability, the log-in over the
    // JSON API and the bootstrap arrive while it runs. The player answers
    // the linking screen the way a person would.
    platform::ui::Driver player;
    const int frames = seconds * 30;
    bool movedOn = false;
    // The session tells of a log-in whose reply held no exception (it holds
    // its observers weakly).
    auto oddReply = std::make_shared<serveranswer::OddReplyWatch>();
    Halcyon::session()->addObserver(oddReply);
    auto told = [&] { return game.loggedIn || (game.offline && (reachabilityTold || oddReply->answeredOddly)); };
    for (int i = 0; i < frames && !told(); ++i) {
        frame(told);
        if (!movedOn && platform::ui::Driver::findByText(HCLinkSocialNetworksController::kContinueTitle)) {
            movedOn = true;
            say("player: links no social network for now");
            player.tapButton(HCLinkSocialNetworksController::kContinueTitle);
        }
    }
    // Nothing after the log-in can work without the service: a log-in that
    // ended offline, or a server that gave no answer at all within the wait
    // (every later step would wait out its own), ends the run here.
    const bool answered = told() || Halcyon::session()->currentDevice() != nullptr;
    if (!game.loggedIn && (game.offline || !answered)) {
        const std::string why =
            !answered ? "no answer from the server at " + *serverUrl + " within " + std::to_string(seconds) +
                            " s; the demo stops waiting"
            : oddReply->answeredOddly
                ? serveranswer::whatAnswered(*serverUrl) + "; the player is offline"
                : "the server at " + *serverUrl + " cannot be reached; the player is offline";
        shutDown();
        say("halcyon-demo: FAILED: " + why);
        return 1;
    }
    const bool registered = Halcyon::session()->currentDevice() != nullptr;
    if (registered) {
        say(std::string("device: registered with the service; parental controls ") +
            (Halcyon::allowUserGeneratedContent() ? "off" : "on"));
    } else {
        say("device: not registered after " + std::to_string(seconds) + " s");
    }
    say("client: player " + Halcyon::lastLoggedInUserId() + " \"" + Halcyon::lastLoggedInUserName().value_or("") +
        "\", online: " + (Halcyon::isOnline() ? "yes" : "no"));

    // The game keeps its saved game in the player's cloud store and reads
    // it back, signed with the access token the log-in gave.
    SavedGameDelegate cloud;
    HCCloudStorage::setDelegate(&cloud);
    const auto savedGame = platform::Data::fromString(
        "level=12;stars=2,3,3,1,0,2,3,3,3,2,1,3;score=48211;sound=on;music=off;achievements=1,1,0,1,0,0,1,1,0");
    auto cloudDone = [&] { return cloud.failure || cloud.downloaded != nullptr; };
    HCCloudStorage::upload(savedGame, "savedGame");
    for (int i = 0; i < frames && !cloud.uploaded && !cloud.failure; ++i) {
        frame([&] { return cloud.uploaded || cloud.failure; });
    }
    if (cloud.uploaded) {
        HCCloudStorage::downloadDataWithKey("savedGame");
    }
    for (int i = 0; i < frames && cloud.uploaded && !cloudDone(); ++i) {
        frame(cloudDone);
    }
    HCCloudStorage::setDelegate(nullptr);
    const bool savedGameBack = cloud.downloaded && *cloud.downloaded == *savedGame;
    say(savedGameBack ? "cloud: the saved game came back unchanged" : "cloud: the saved game did not come back");

    const bool forumShown = showForum(localserver::defaults::kGameId, frames);
    const DemoFrames demo{&say, [](const std::function<bool()>& done) { frame(done); }, frames};
    const bool socialShown = showChat(demo) && showAnnouncements(demo) &&
                             showConversation(demo, localserver::defaults::kOtherUserId);
    const bool playersShown = showPlayers(frames);
    const DemoPart presence = presencedemo::showPresence(server.get(), demo);

    // The log-in sent what was pending; the service now holds the better
    // score, once.
    bool scoresConfirmed = !serverScores;
    if (serverScores) {
        auto confirmed = [&] { return serverScores->find(localserver::defaults::kUserId, "1", 48211).has_value(); };
        for (int i = 0; i < frames && !confirmed(); ++i) {
            frame(confirmed);
        }
        for (const auto& stored : serverScores->scores("1")) {
            say("scores: " + std::to_string(stored.score) + " on leaderboard 1 by player " + stored.userId +
                " confirmed by the server (posted " + std::to_string(stored.posts) + " time" +
                (stored.posts == 1 ? "" : "s") + ")");
        }
        scoresConfirmed = confirmed() && serverScores->scores("1").size() == 1;
        if (!scoresConfirmed) {
            say("scores: the service does not hold the best score");
        }
    }
    const bool achievementConfirmed = unlockOffline(server.get(), serverAchievements.get(), game, frames);
    const bool leaderboardsShown = showLeaderboards(frames);
    const bool topScoresShown = showTopScores(server.get(), serverScores.get(), frames);
    const DemoOutcome locationShared = shareLocation(server.get(), frames);
    const bool invitesShown = showInvitesSettingsPostAndPush(frames);
    const bool gameCenterHolds = !gameCenter || mirrorBestScore(serverScores.get(), frames);
    showBannerGallery(*window);
    // The tour is bounded as a whole: under a slow service every page would
    // otherwise wait out its own bound in turn. Pages not begun in time are
    // skipped, and named.
    auto showPages = [&] {
        DemoFrames tour = demo;
        tour.deadline = platform::Clock::currentTime() + kTourSecondsPerWait * seconds;
        const std::vector<std::pair<std::string, std::function<bool()>>> pages = {
            {"dashboard", [&] { return showDashboard(*window, tour); }},
            {"leaderboards and achievements", [&] { return showGamePages(*window, tour); }},
            {"game links", [&] { return showGameLinks(tour); }},
            {"composer", [&] { return showComposerPage(server.get(), tour); }},
            {"picture", [&] { return picturedemo::showPicturePage(tour); }},
            {"fan club", [&] { return showFanClubPages(tour); }},
            {"settings", [&] { return showSettingsPage(tour); }},
            {"played games", [&] { return showPlayedGames(tour); }},
            {"profiles", [&] { return profiledemo::showProfilePages(server.get(), tour); }},
            {"chat", [&] { return chatpagesdemo::showChatPages(tour); }},
            {"inbox", [&] { return inboxdemo::showInboxPages(server.get(), tour); }},
            {"challenges", [&] { return challengedemo::showChallenges(tour, *delegates); }},
            {"invitations", [&] { return invitedemo::showInvitePages(tour); }},
            {"shortcuts", [&] { return shortcutsdemo::showShortcuts(tour); }},
        };
        // Each page's tour runs even when one before it failed, so that a
        // run shows every failure at once.
        bool shown = true;
        std::string skipped;
        for (const auto& [name, show] : pages) {
            if (!timeLeft(tour)) {
                skipped += (skipped.empty() ? "" : ", ") + name;
                continue;
            }
            shown = show() && shown;
        }
        if (Halcyon::dashboardVisible()) closeDashboard(demo);
        if (skipped.empty()) return shown;
        say("pages: the tour's bound of " + std::to_string(kTourSecondsPerWait * seconds) + " s ran out; skipped: " +
            skipped);
        return false;
    };
    const bool pagesShown = skipPages || showPages();

    // A chat page would poll every few seconds; the game leaves the
    // foreground and comes back, and the rate in force comes back with it.
    Halcyon::setPollingFrequency(static_cast<double>(Halcyon::getPollingFrequencyInChat()));
    auto app = platform::ui::Application::shared();
    auto polling = [] {
        const double seconds = Halcyon::poller()->getPollingFrequency();
        return seconds > 0 ? "polling every " + std::to_string(static_cast<int>(seconds)) + " s"
                           : std::string("polling paused");
    };
    app->enterBackground();
    say("lifecycle: background, " + polling());
    frame();
    app->becomeActive();
    say("lifecycle: active again, " + polling());
    Halcyon::stopPolling();
    for (int i = 0; i < 3; ++i) {
        frame();
    }

    shutDown();
    // One line to end on: what the run showed, what it could not show, and
    // whether all it showed happened.
    auto part = [](const std::string& what, bool ok) {
        return DemoPart{what, ok ? DemoOutcome::Shown : DemoOutcome::Failed};
    };
    std::vector<DemoPart> parts = {
        part("the log-in", registered && game.loggedIn),
        part("the saved game", savedGameBack),
        part("the forum", forumShown),
        part("chat, announcements and a conversation", socialShown),
        part("players and the game", playersShown),
        presence,
        part("the scores", scoresConfirmed && topScoresShown),
        part("the achievement", achievementConfirmed),
        part("the leaderboards", leaderboardsShown),
        part("invitations, settings, a post and the push token", invitesShown),
    };
    // What the demo reads back from its own server's records.
    if (server) {
        parts.push_back({"the location", locationShared});
    } else {
        parts.push_back({"the location and the server's confirmation of the scores and the achievement (another "
                         "server, whose records the demo cannot read)",
                         DemoOutcome::LeftOut});
    }
    if (gameCenter) parts.push_back(part("Game Center", gameCenterHolds));
    if (!skipPages) parts.push_back(part("the dashboard's pages", pagesShown));
    say("halcyon-demo: " + demoSummary(parts));
    return demoFailed(parts) ? 1 : 0;
}
