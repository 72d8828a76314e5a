#include "ChallengePagesDemo.h"

#include "core/banners/HCNotificationData.h"
#include "core/banners/HCNotificationDelegate.h"
#include "core/halcyon/Halcyon.h"
#include "core/publicclass/HCChallengeDelegate.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "localserver/Fixtures.h"
#include "platform/ui/Driver.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeObjectDelegates.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "transport/provider/HCProvider.h"

namespace challengedemo {

namespace {

namespace defaults = localserver::defaults;

// The game: it plays what the player starts and hears the result go out.
class Game final : public HCChallengeDelegate, public HCChallengeToUserDelegate, public HCNotificationDelegate {
public:
    bool respondsTo(Method method) const override
    {
        return method == Method::userLaunchedChallenge || method == Method::completedChallengeScreenClosed;
    }
    void userLaunchedChallenge(const std::shared_ptr<HCChallengeToUser>& record,
                               const std::shared_ptr<platform::Data>& data) override
    {
        launched = record;
        launchedData = data ? data->toString() : std::string("(none)");
    }
    void completedChallengeScreenClosed() override { resultClosed = true; }
    void didCompleteChallenge(const RecordPtr&) override { resultSent = true; }
    void didFailCompleteChallenge(const RecordPtr&) override { resultFailed = true; }
    void notificationWillShow(const HCNotificationDataPtr& notice) override
    {
        auto challenge = std::dynamic_pointer_cast<HCReceivedChallengeNotificationData>(notice);
        if (!challenge) return;
        banner = notice->notificationText;
        if (challenge->receivedChallengeToUser && challenge->receivedChallengeToUser->challenger)
            banner += " from " + challenge->receivedChallengeToUser->challenger->name().value_or("?");
    }

    std::shared_ptr<HCChallengeToUser> launched;
    std::string launchedData;
    std::string banner;
    bool resultClosed = false;
    bool resultSent = false;
    bool resultFailed = false;
};

// Ben, on his own device, sends the challenge to Ann; answers Ann's record id.
std::optional<std::string> benSends(const DemoFrames& demo)
{
    auto provider = Halcyon::provider();
    // Ann's own token comes back afterwards, the one her log-in was given:
    // any other would be a different player to the presence channel.
    const auto annsToken = provider->accessToken();
    provider->setAccessToken(defaults::kOtherUserToken, defaults::kOtherUserTokenSecret);
    auto reply = platform::as<HCPaginatedSeries>(await(demo, [](HCDelegate success, HCDelegate failure) {
        HCChallengeService::sendChallenge(std::string("1"), std::string("Beat 90 s"),
                                          platform::Data::fromString("level 3, seed 42"), std::string("Bet you can't"),
                                          std::nullopt, {defaults::kUserId}, std::nullopt, success, failure);
    }));
    auto sent = reply && reply->count() > 0 ? platform::as<HCChallenge>(reply->objectAtIndex(0)) : nullptr;
    std::optional<std::string> recordId;
    if (sent) {
        auto received = platform::as<HCPaginatedSeries>(await(demo, [&](HCDelegate success, HCDelegate failure) {
            HCChallengeService::getUsersWhoReceivedChallengeWithId(sent->resourceId(), std::nullopt, 1, success,
                                                                   failure);
        }));
        auto record = received && received->count() > 0 ? platform::as<HCChallengeToUser>(received->objectAtIndex(0))
                                                        : nullptr;
        if (record) recordId = record->resourceId();
    }
    if (annsToken) provider->setAccessToken(annsToken->key, annsToken->secret);
    return recordId;
}

}  // namespace

bool showChallenges(const DemoFrames& demo, HCDelegatesContainer& delegates)
{
    Game game;
    auto* previousChallenge = delegates.challengeDelegate();
    auto* previousNotices = delegates.notificationDelegate();
    delegates.setChallengeDelegate(&game);
    delegates.setNotificationDelegate(&game);
    HCChallengeToUser::setDelegate(&game);
    platform::ui::Driver player;

    const auto recordId = benSends(demo);
    bool ok = recordId.has_value();
    demo.say(ok ? "challenges: Ben sent Ann the one-shot challenge \"Beat 90 s\" with its data"
                : "challenges: Ben's challenge was NOT sent");
    if (ok) {
        auto push = platform::Dictionary::make();
        push->setString("notification_type", "challenge");
        push->setString("resource_id", *recordId);
        Halcyon::applicationDidReceiveRemoteNotification(push);
        ok = waitUntil(demo, [&] { return !game.banner.empty(); });
        demo.say(ok ? "challenges: Ann's banner: " + game.banner : "challenges: no banner");
    }
    if (ok) {
        Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"),
                                             {platform::String::make("ChallengeList")});
        ok = waitFor(demo, "HCChallengeListController");
    }
    if (ok) {
        printRows(demo, "challenges", "Ann's pending challenges:");
        ok = player.selectRowWithText("Beat my time") && waitFor(demo, "HCChallengeDetailController");
    }
    if (ok) {
        bool answered = false;
        ok = player.tapButton("Start Challenge") &&
             waitUntil(demo, [&] { return answered || (answered = player.answerAlert("OK")); }) &&
             waitUntil(demo, [&] { return game.launched != nullptr; });
        demo.say(ok ? "challenges: the game starts \"Beat 90 s\" with the data \"" + game.launchedData + "\""
                    : "challenges: the game did not get the challenge");
    }
    if (ok) {
        // Ann plays and loses by two seconds.
        game.launched->setResult(HCChallengeToUser::kLose);
        HCChallengeService::displayChallengeCompletedModal(game.launched, nullptr, std::string("%@ lost by 2 s"),
                                                           std::nullopt);
        ok = waitUntil(demo, [] { return platform::ui::Driver::findByText("You lost by 2 s") != nullptr; });
        demo.say(ok ? "challenges: the result shows: You lost by 2 s" : "challenges: no result screen");
    }
    if (ok) {
        ok = game.launched->completeWithResult(HCChallengeToUser::kLose) != nullptr &&
             waitUntil(demo, [&] { return game.resultSent || game.resultFailed; }) && game.resultSent;
        demo.say(ok ? "challenges: the result was sent (lose)" : "challenges: the result was NOT sent");
    }
    if (ok) ok = player.tapButton("OK") && waitUntil(demo, [&] { return game.resultClosed && !Halcyon::dashboardVisible(); });
    if (Halcyon::dashboardVisible()) Halcyon::dismissDashboard();
    HCChallengeToUser::setDelegate(nullptr);
    delegates.setChallengeDelegate(previousChallenge);
    delegates.setNotificationDelegate(previousNotices);
    return ok;
}

}  // namespace challengedemo
