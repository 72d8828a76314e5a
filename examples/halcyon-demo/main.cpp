// halcyon-demo: a stand-in for a game that carries the Halcyon client.
//
//   halcyon-demo [--server URL] [--seconds N]
//
// It makes a sandbox and a bundle folder in a fresh temporary folder, starts
// the local server in this process on a loopback port (or uses the service
// root given with --server), brings the client up with one call, and then
// pumps the main run loop thirty times a second the way a game's frame loop
// would, printing in plain lines what the client tells it: its notices, the
// calls to the game's delegate, the game server's reachability and the
// device's registration with the service. It then leaves the foreground and
// comes back, shuts the client down and exits 0. It exits 1 when the device
// could not be registered within N seconds (default 10).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/HCServiceOrder.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/xp/HCSession.h"
#include "kernel/reachability/HCReachability.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Application.h"
#include "transport/poller/HCPoller.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 30.0;

void say(const std::string& line)
{
    std::cout << line << std::endl;
}

// The game's delegate: every call it gets is printed.
class DemoDelegate final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override { say("delegate: userLoggedIn(" + userId + ")"); }
    void offlineUserLoggedIn(const std::string& userId) override
    {
        say("delegate: offlineUserLoggedIn(" + userId + ")");
    }
    void userLoggedOut(const std::string& userId) override { say("delegate: userLoggedOut(" + userId + ")"); }
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

void printNotices(const void* token)
{
    for (const char* name : kNotices) {
        platform::NotificationCenter::defaultCenter().addObserver(token, name, [](const platform::Notification& n) {
            std::string line = "notice: " + n.name;
            if (n.userInfo) {
                for (const auto& [key, value] : n.userInfo->entries()) {
                    line += " " + key + "=" + platform::textOf(value).value_or("nil");
                }
            }
            say(line);
        });
    }
}

// Pumps the main run loop for one frame's worth of wall time, or less when
// `done` answers yes first.
void frame(const std::function<bool()>& done = [] { return false; })
{
    platform::Thread::mainThread()->runLoop()->runUntil(done, kFrameSeconds);
}

int usage()
{
    std::cerr << "usage: halcyon-demo [--server URL] [--seconds N]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::optional<std::string> serverUrl;
    int seconds = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) {
            return usage();
        }
        const std::string value = argv[++i];
        if (arg == "--server") {
            serverUrl = value;
        } else if (arg == "--seconds") {
            seconds = std::atoi(value.c_str());
            if (seconds <= 0) {
                return usage();
            }
        } else {
            return usage();
        }
    }

    platform::Thread::adoptCurrentAsMain();
    platform::setLogSink([](platform::LogLevel level, const std::string& line) {
        std::cout << "log: " << platform::logLevelName(level) << ": " << line << std::endl;
    });

    // The game's sandbox and bundle, fresh each run.
    std::string folder = (std::filesystem::temp_directory_path() / "halcyon-demo-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        std::perror("halcyon-demo: mkdtemp");
        return 1;
    }
    std::filesystem::create_directories(folder + "/Bundle");
    platform::Sandbox::configure(folder + "/Sandbox", folder + "/Bundle");
    say("halcyon-demo: sandbox " + folder + "/Sandbox");

    std::unique_ptr<localserver::Server> server;
    if (!serverUrl) {
        server = std::make_unique<localserver::Server>();
        localserver::registerServiceRoutes(*server);
        if (!server->start()) {
            std::cerr << "halcyon-demo: the local server did not start: " << server->error() << "\n";
            return 1;
        }
        serverUrl = server->serviceRootUrl();
        say("halcyon-demo: local server at " + *serverUrl);
    }
    HCSettings::setDefaultOverride("server-url", *serverUrl);

    const char* const token = "halcyon-demo";
    printNotices(token);
    DemoDelegate game;
    auto delegates = HCDelegatesContainer::containerWithHalcyonDelegate(&game);
    auto settings = platform::Dictionary::make();
    settings->setString(HalcyonSettingShortDisplayName, "Tolvarine");

    Halcyon::initializeWithProductKey(localserver::defaults::kProductKey, localserver::defaults::kProductSecret,
                                      localserver::defaults::kGameName, settings, delegates);
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

    // The frame loop: the game server's reachability and the device's
    // registration with the service's JSON API arrive while it runs.
    bool reportedReachable = false;
    Halcyon::session()->establishDeviceSession();
    const int frames = seconds * 30;
    int frameCount = 0;
    for (; frameCount < frames && !Halcyon::session()->currentDevice(); ++frameCount) {
        frame([] { return Halcyon::session()->currentDevice() != nullptr; });
        auto reachability = HCReachability::Instance();
        if (!reportedReachable && reachability && reachability->isGameServerReachable()) {
            reportedReachable = true;
            say("reachability: game server reachable");
        }
    }
    const bool registered = Halcyon::session()->currentDevice() != nullptr;
    if (registered) {
        say(std::string("device: registered with the service; parental controls ") +
            (Halcyon::allowUserGeneratedContent() ? "off" : "on"));
    } else {
        say("device: not registered after " + std::to_string(seconds) + " s");
    }

    // A chat page would poll every few seconds; the game leaves the
    // foreground and comes back, and the rate in force comes back with it.
    Halcyon::setPollingFrequency(static_cast<double>(Halcyon::getPollingFrequencyInChat()));
    auto app = platform::ui::Application::shared();
    app->enterBackground();
    say("lifecycle: background, polling every " + std::to_string(static_cast<int>(Halcyon::poller()->getPollingFrequency())) + " s");
    frame();
    app->becomeActive();
    say("lifecycle: active again, polling every " + std::to_string(static_cast<int>(Halcyon::poller()->getPollingFrequency())) + " s");
    Halcyon::stopPolling();
    for (int i = 0; i < 3; ++i) {
        frame();
    }

    Halcyon::shutdown();
    platform::NotificationCenter::defaultCenter().removeObserver(token);
    say("client: shut down after " + std::to_string(frameCount) + " frames");
    if (server) {
        server->stop();
    }
    platform::setLogSink(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return registered ? 0 : 1;
}
