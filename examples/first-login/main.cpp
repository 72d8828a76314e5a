// first-login: the smallest game that logs in to the service.
//
//   first-login SERVICE-URL     (http:// or https://; halcyon-localserver
//                                prints its own)
//
// It brings the client up, pumps the run loop as a game's frame loop would,
// answers the linking screen of the first log-in, and exits 0 once its
// delegate has heard userLoggedIn. When the client tells it the server
// cannot be reached and the player is offline, it says so and exits 1; so
// it does after 20 seconds with neither.
#include <cstdio>
#include <filesystem>
#include <string>

#include "accounts/HCLinkSocialNetworksController.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonDelegate.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/publicclass/HCDelegatesContainer.h"
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

int main(int argc, char** argv)
{
    const std::string url = argc == 2 ? argv[1] : "";
    if (!url.starts_with("http://") && !url.starts_with("https://")) {
        std::fprintf(stderr, "usage: first-login SERVICE-URL (an http:// or https:// address)\n");
        return 2;
    }
    // 1. The thread that runs the game is the client's main thread.
    platform::Thread::adoptCurrentAsMain();
    // 2. Where the client keeps its files, and the game's bundle.
    const auto home = std::filesystem::temp_directory_path() / "first-login";
    platform::Sandbox::configure((home / "Sandbox").string(), (home / "Bundle").string());
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

    // The frame loop: the log-in's replies arrive while the run loop turns.
    platform::ui::Driver player;
    auto told = [&] { return game.loggedIn || (game.offline && reachabilityTold); };
    for (int frame = 0; frame < 20 * 30 && !told(); ++frame) {
        platform::Thread::mainThread()->runLoop()->runUntil(told, 1.0 / 30);
        // The first log-in shows the linking screen; userLoggedIn waits for
        // the player's answer. Here the player taps "Not Now".
        if (platform::ui::Driver::findByText(HCLinkSocialNetworksController::kContinueTitle)) {
            std::printf("game: the linking screen is up (online: %s); the player taps \"%s\"\n",
                        Halcyon::isOnline() ? "yes" : "no", HCLinkSocialNetworksController::kContinueTitle);
            player.tapButton(HCLinkSocialNetworksController::kContinueTitle);
        }
    }
    Halcyon::shutdown();
    std::filesystem::remove_all(home);
    return game.loggedIn ? 0 : 1;
}
