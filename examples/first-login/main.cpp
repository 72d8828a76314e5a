// first-login: the smallest game that logs in to the service.
//
//   first-login SERVICE-URL [--wait SECONDS]
//
// SERVICE-URL is http:// or https:// (halcyon-localserver prints its own).
// It brings the client up, pumps the run loop as a game's frame loop would,
// answers the linking screen of the first log-in, and exits 0 once its
// delegate has heard userLoggedIn. When the client tells it the player is
// offline because the server cannot be reached, or because the address
// answered but not as the service does, it says so (asking the address once
// more which: something that is not the service, or the service failing or
// under maintenance) and exits 1; so it does when SECONDS (default 20) pass
// with no answer. Each run keeps its files in a temporary folder of its own,
// removed at the end, so that copies may run side by side.
#include <curl/curl.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "accounts/HCLinkSocialNetworksController.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/xp/HCServerException.h"
#include "core/xp/HCSession.h"
#include "core/xp/HCSessionObserver.h"
#include "kernel/reachability/HCReachabilityObserver.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Driver.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

// The game's side of the client: it hears the log-in here.
// Thread: main thread, where the client calls its delegate.
class Game final : public HalcyonDelegate {
public:
    void userLoggedIn(const std::string& userId) override
    {
        std::printf("game: player %s logged in, online: %s\n", userId.c_str(), Halcyon::isOnline() ? "yes" : "no");
        loggedIn = true;
    }
    // The log-in did not reach the service: the player plays offline.
    void offlineUserLoggedIn(const std::string& userId) override
    {
        std::printf("game: the player is offline (player %s)\n", userId.c_str());
        offline = true;
    }
    bool loggedIn = false;
    bool offline = false;
};

// Why a log-in failed, as the client's session tells it. A server that
// cannot be reached or that refuses comes with an exception (the client's own
// for a failed connection, the service's for a refusal); a failure with none
// is a reply that held no exception at all: something else answered at the
// address (a web server's 404 page, say), or the service is down behind a
// proxy's error page. explain() asks the address which.
// Thread: main thread, where the session tells its observers.
class LogInFailure final : public HCSessionObserver {
public:
    void sessionFailureWithException(const std::shared_ptr<HCSession>&,
                                     const std::shared_ptr<HCServerException>& exception) override
    {
        if (!exception) answeredOddly = true;
    }
    bool answeredOddly = false;
};

// The status the address answers a plain GET with; 0 when none came within
// a few seconds.
long statusAt(const std::string& url)
{
    CURL* curl = curl_easy_init();
    if (!curl) return 0;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 5L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // The page itself is not needed, only its status.
    auto discard = +[](char*, size_t size, size_t count, void*) { return size * count; };
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    long status = 0;
    if (curl_easy_perform(curl) == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    return status;
}

// What answered at `url` when the log-in's reply was not the service's.
// Only 404 and 501 are what no service answers; a failing service, or the
// proxy in front of it, answers 5xx, 401 or the maintenance status 450 with
// its own page.
void explain(const std::string& url)
{
    const long status = statusAt(url);
    if (status == 404 || status == 501) {
        std::printf("game: the address %s answered %ld, but not as the service does: it is not the service\n",
                    url.c_str(), status);
    } else if (status == 401 || status == 450 || status >= 500) {
        std::printf("game: the address %s answered %ld: the service (or what stands in front of it) is failing or "
                    "under maintenance\n",
                    url.c_str(), status);
    } else if (status == 0) {
        std::printf("game: no answer from the server at %s when asked again; it answered the log-in, but not as the "
                    "service does\n",
                    url.c_str());
    } else {
        std::printf("game: the address %s answered, but not as the service does (status %ld)\n", url.c_str(), status);
    }
}

constexpr const char* kUsage = "usage: first-login SERVICE-URL [--wait SECONDS]";

// One line: what is wrong with the arguments, and how they go.
int refuse(const std::string& problem)
{
    std::fprintf(stderr, "first-login: %s (%s)\n", problem.c_str(), kUsage);
    return 2;
}

int main(int argc, char** argv)
{
    std::string url;
    int waitSeconds = 20;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::printf("%s\n\n"
                        "  SERVICE-URL      the service, http:// or https:// (halcyon-localserver prints its own)\n"
                        "  --wait SECONDS   how long the game waits for the log-in (default: 20)\n"
                        "  -h, --help       print this and exit\n",
                        kUsage);
            return 0;
        }
        if (arg == "--wait") {
            if (i + 1 == argc) return refuse("--wait needs a value");
            const std::string value = argv[++i];
            const bool digits = value.find_first_not_of("0123456789") == std::string::npos;
            waitSeconds = digits && !value.empty() && value.size() < 6 ? std::stoi(value) : 0;
            if (waitSeconds == 0) return refuse("--wait wants a whole number of seconds, not \"" + value + "\"");
        } else if (arg.starts_with("-")) {
            return refuse("unknown option: " + arg);
        } else if (!url.empty()) {
            return refuse("one SERVICE-URL, not \"" + arg + "\" too");
        } else {
            url = arg;
        }
    }
    if (!url.starts_with("http://") && !url.starts_with("https://")) {
        return refuse("SERVICE-URL must be an http:// or https:// address, not \"" + url + "\"");
    }
    // 1. The thread that runs the game is the client's main thread.
    platform::Thread::adoptCurrentAsMain();
    // 2. Where the client keeps its files, and the game's bundle: a folder
    //    of this run's own, so that two copies never share a database.
    std::string home = (std::filesystem::temp_directory_path() / "first-login-XXXXXX").string();
    if (mkdtemp(home.data()) == nullptr) {
        std::perror("first-login: mkdtemp");
        return 1;
    }
    platform::Sandbox::configure(home + "/Sandbox", home + "/Bundle");
    // 3. The service to talk to.
    HCSettings::setDefaultOverride("server-url", url);
    // 4. The player said yes to the service (a game without this shows the
    //    approval screen first).
    Halcyon::setUserApprovedHalcyon();
    // 5. The game's window, where the client shows its screens and banners,
    //    and the one call that brings the client up and starts the log-in.
    auto window = std::make_shared<platform::ui::Window>(platform::ui::Screen::mainScreen()->bounds());
    window->setHidden(false);
    auto settings = platform::Dictionary::make();
    settings->setObject(HalcyonSettingPresentationWindow, window);
    Game game;
    // The client tells the game whether the server can be reached, and each
    // change of it.
    bool reachabilityTold = false;
    HCReachabilityObserver reachability(HCDelegate::withFunction([&](const platform::ObjectPtr& status) {
        auto number = platform::as<platform::Number>(status);
        std::printf("game: the server at %s %s\n", url.c_str(),
                    number && number->intValue() ? "is reachable" : "cannot be reached");
        reachabilityTold = true;
    }));
    Halcyon::initializeWithProductKey("local-product-key", "local-product-secret", "Tolvarine Ruvuru", settings,
                                      HCDelegatesContainer::containerWithHalcyonDelegate(&game));
    // The session tells why a log-in failed (the session holds it weakly).
    auto failure = std::make_shared<LogInFailure>();
    if (auto session = Halcyon::session()) session->addObserver(failure);

    // The frame loop: the log-in's replies arrive while the run loop turns.
    platform::ui::Driver player;
    auto told = [&] { return game.loggedIn || (game.offline && (reachabilityTold || failure->answeredOddly)); };
    for (int frame = 0; frame < waitSeconds * 30 && !told(); ++frame) {
        platform::Thread::mainThread()->runLoop()->runUntil(told, 1.0 / 30);
        // The first log-in shows the linking screen; userLoggedIn waits for
        // the player's answer. Here the player taps "Not Now".
        if (platform::ui::Driver::findByText(HCLinkSocialNetworksController::kContinueTitle)) {
            std::printf("game: the linking screen is up (online: %s); the player taps \"%s\"\n",
                        Halcyon::isOnline() ? "yes" : "no", HCLinkSocialNetworksController::kContinueTitle);
            player.tapButton(HCLinkSocialNetworksController::kContinueTitle);
        }
    }
    if (!told()) {
        std::printf("game: no answer from the server at %s within %d s; the game stops waiting\n", url.c_str(),
                    waitSeconds);
    } else if (failure->answeredOddly) {
        explain(url);
    }
    Halcyon::shutdown();
    // A clean-up that fails (the folder already gone) is no reason to end
    // the game with an exception.
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return game.loggedIn ? 0 : 1;
}
