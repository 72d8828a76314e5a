// Challenges between two players against the local server: one player sends
// a challenge with a data blob, the other is told by push, lists it, fetches
// the data, plays and sends the result; records survive a trip through a
// file; definitions, statistics and icons come down for the game.
#include <gtest/gtest.h>

#include "client/HCClientHooks.h"
#include "core/banners/HCNotificationData.h"
#include "core/banners/HCNotificationDelegate.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "core/images/HCImageCache.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "core/storage/HCCompressableData.h"
#include "core/users/HCUser.h"
#include "kernel/reachability/HCReachability.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/ChallengeRoutes.h"
#include "platform/foundation/FileFacts.h"
#include "platform/ui/Image.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeDefinitionDelegate.h"
#include "scores/challenges/HCChallengeDefinitionService.h"
#include "scores/challenges/HCChallengeDefinitionStats.h"
#include "scores/challenges/HCChallengeObjectDelegates.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "support/BannerWindow.h"
#include "support/SocialClientTest.h"

namespace defaults = localserver::defaults;

namespace {

using Record = std::shared_ptr<HCChallengeToUser>;

class RecordingNotices final : public HCNotificationDelegate {
public:
    void notificationWillShow(const HCNotificationDataPtr& notice) override
    {
        std::string line = notice->notificationText;
        auto challenge = std::dynamic_pointer_cast<HCReceivedChallengeNotificationData>(notice);
        if (challenge && challenge->receivedChallengeToUser && challenge->receivedChallengeToUser->challenger)
            line += " from " + challenge->receivedChallengeToUser->challenger->name().value_or("?");
        banners.push_back(line);
    }
    std::vector<std::string> banners;
};

class Calls final : public HCChallengeObjectDelegate, public HCChallengeToUserDelegate,
                    public HCChallengeDefinitionDelegate {
public:
    void didSendChallenge(const ChallengePtr&) override { lines.push_back("sent"); }
    void didFailSendChallenge(const ChallengePtr&) override { lines.push_back("send failed"); }
    void didDownloadChallengeData(const std::shared_ptr<platform::Data>& data, const ChallengePtr&) override
    {
        lines.push_back("data " + std::string(data->bytes().begin(), data->bytes().end()));
    }
    void didFailDownloadChallengeDataHCChallenge(const ChallengePtr&) override { lines.push_back("no data"); }
    void didCompleteChallenge(const RecordPtr& r) override { lines.push_back("completed " + std::to_string(r->result())); }
    void didFailCompleteChallenge(const RecordPtr& r) override
    {
        lines.push_back("complete failed " + std::to_string(r->result()));
    }
    void didRejectChallenge(const RecordPtr&) override { lines.push_back("rejected"); }
    void didFailRejectChallenge(const RecordPtr&) override { lines.push_back("reject failed"); }
    void didDownloadAllChallengeDefinitions(const std::vector<DefinitionPtr>& all) override
    {
        std::string line = "definitions";
        for (const auto& d : all) line += " " + d->resourceId().value_or("?") + ":" + d->getMultiAttemptAsString();
        lines.push_back(line);
    }
    void didFailDownloadChallengeDefinitions() override { lines.push_back("no definitions"); }
    void didDownloadChallengeDefinition(const DefinitionPtr& d) override
    {
        lines.push_back("definition " + d->title().value_or("?"));
    }
    void didFailDownloadChallengeDefinition() override { lines.push_back("no definition"); }
    void didGetIcon(const platform::ui::ImagePtr& image, const DefinitionPtr&) override
    {
        lines.push_back("icon " + std::to_string(static_cast<int>(image->size().width)));
    }
    void getFailGetIconHCChallengeDefinition(const DefinitionPtr&) override { lines.push_back("no icon"); }
    std::vector<std::string> lines;
};

std::shared_ptr<platform::Data> bytes(const std::string& text)
{
    return std::make_shared<platform::Data>(text);
}

class ChallengesEndToEndTest : public SocialClientTest {
protected:
    void SetUp() override
    {
        SocialClientTest::SetUp();
        store = localserver::registerChallengeRoutes(*server);
        server->addRoute("GET", "challenge_icons/{n}.png", localserver::Access::Open, [](const localserver::Request&) {
            localserver::Reply reply;
            reply.contentType = "image/png";
            reply.body = platform::ui::PNGRepresentation(platform::ui::Image::withPixels(3, 3, std::vector<uint8_t>(36, 9)))
                             ->toString();
            return reply;
        });
    }
    void TearDown() override
    {
        HCChallenge::setDelegate(nullptr);
        HCChallengeToUser::setDelegate(nullptr);
        HCChallengeDefinition::setDelegate(nullptr);
        SocialClientTest::TearDown();
    }

    // Starts the client as the game would, logged in as that player.
    void startAs(const char* userId, bool reachable = true)
    {
        if (Halcyon::sharedInstance()) {
            Halcyon::shutdown();
            testsupport::drainMain();
        }
        game.calls.clear();
        auto settings = platform::Dictionary::make();
        settings->setString(HalcyonSettingInitialUserId, userId);
        settings->setObject(HalcyonSettingPresentationWindow, bannerWindow);
        Halcyon::initializeWithProductKey(defaults::kProductKey, defaults::kProductSecret, defaults::kGameName,
                                          settings, HCDelegatesContainer::containerWithHalcyonDelegate(&game, nullptr, &notices));
        HCReachability::Instance()->setOverride(reachable ? HCReachability::ReachableViaWiFi
                                                          : HCReachability::NotReachable);
        ASSERT_TRUE(waitUntil([&] { return !game.calls.empty(); }));
        ASSERT_EQ(game.calls.front(), std::string(reachable ? "online " : "offline ") + userId);
        settle();
        auto hooks = Halcyon::dashboardHooks();
        hooks.launchDashboard = [this](HalcyonDelegate*, const std::optional<std::string>& tab,
                                       const std::vector<platform::ObjectPtr>& controllers) {
            std::string line = tab.value_or("-");
            for (const auto& controller : controllers)
                if (auto name = platform::as<platform::String>(controller)) line += " " + name->value();
            launches.push_back(line);
        };
        Halcyon::setDashboardHooks(hooks);
        launches.clear();
        HCChallenge::setDelegate(&calls);
        HCChallengeToUser::setDelegate(&calls);
        HCChallengeDefinition::setDelegate(&calls);
        notices.banners.clear();
        calls.lines.clear();
    }

    std::shared_ptr<HCChallengeDefinition> definition(const char* id)
    {
        return HCResource::initWithId<HCChallengeDefinition>(std::string(id));
    }

    // The first player's challenge to the recipients; answers the new
    // records' ids.
    std::vector<std::string> send(const std::vector<std::string>& to, const std::string& data = "level 3, seed 42")
    {
        auto challenge = HCChallenge::initWithDefinition(definition("1"), std::string("Beat 90 s & win"),
                                                         data.empty() ? nullptr : bytes(data));
        const size_t before = store->records().size();
        EXPECT_TRUE(challenge->sendChallenge(to, nullptr));
        settle();
        std::vector<std::string> ids;
        for (size_t i = before; i < store->records().size(); ++i) ids.push_back(store->records()[i].id);
        return ids;
    }

    Record fetch(const std::string& id)
    {
        Reached reached;
        HCChallengeService::getChallengeToUserWithId(id, reached.success(), reached.failure());
        EXPECT_TRUE(waitFor(reached));
        auto records = reached.objects<HCChallengeToUser>();
        return records.empty() ? nullptr : records.front();
    }

    std::vector<localserver::LoggedRequest> requests(const std::string& path) const
    {
        std::vector<localserver::LoggedRequest> out;
        for (const auto& entry : server->log().entries())
            if (entry.request.path == path) out.push_back(entry);
        return out;
    }

    std::shared_ptr<localserver::ChallengeStore> store;
    RecordingNotices notices;
    Calls calls;
    std::vector<std::string> launches;
    std::shared_ptr<testsupport::BannerWindow> bannerWindow = testsupport::BannerWindow::showAside();
};

TEST_F(ChallengesEndToEndTest, ASendNamesEachRecipientInOrderAndLeavesAbsentTextsOut)
{
    startAs(defaults::kUserId);
    const auto ids = send({defaults::kOtherUserId, defaults::kNamelessUserId});
    EXPECT_EQ(calls.lines, std::vector<std::string>{"sent"});
    ASSERT_EQ(ids.size(), 2u);
    auto posted = requests("challenges.xml");
    ASSERT_EQ(posted.size(), 1u);
    const auto& form = posted[0].request;
    EXPECT_EQ(form.paramValues("challenge_user_ids[]"),
              (std::vector<std::string>{defaults::kOtherUserId, defaults::kNamelessUserId}));
    // Text with the form's own separators arrives whole.
    EXPECT_EQ(form.param("challenge_description"), "Beat 90 s & win");
    EXPECT_EQ(form.param("challenge_definition_id"), "1");
    EXPECT_EQ(form.param("challenger_id"), "me");
    EXPECT_FALSE(form.param("challenge_user_message"));
    EXPECT_FALSE(form.param("challenge_response_to_challenge_id"));
    EXPECT_EQ(store->record(ids[1])->recipientId, defaults::kNamelessUserId);

    // An answer names the record it answers and carries the message.
    auto answer = HCChallenge::initWithDefinition(definition("2"), std::string("Again?"), nullptr);
    answer->setUserMessage(std::string("a=1&b=2"));
    answer->sendChallenge({defaults::kOtherUserId}, HCResource::initWithId<HCChallengeToUser>(ids[0]));
    settle();
    posted = requests("challenges.xml");
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[1].request.param("challenge_response_to_challenge_id"), ids[0]);
    EXPECT_EQ(posted[1].request.param("challenge_user_message"), "a=1&b=2");
    EXPECT_EQ(store->challenge(store->record(ids[0])->challengeId)->data,
              HCCompressableData::serializedDataFromData(bytes("level 3, seed 42"))->toString());

    // No definition: refused at once, nothing sent.
    auto untyped = HCChallenge::initWithDefinition(nullptr, std::string("x"), nullptr);
    EXPECT_FALSE(untyped->sendChallenge({defaults::kOtherUserId}, nullptr));
    settle();
    EXPECT_EQ(calls.lines.back(), "send failed");
    EXPECT_EQ(requests("challenges.xml").size(), 2u);
}

TEST_F(ChallengesEndToEndTest, TheRecipientIsToldByPushPlaysWithTheDataAndSendsTheResult)
{
    startAs(defaults::kUserId);
    const auto ids = send({defaults::kOtherUserId});
    ASSERT_EQ(ids.size(), 1u);

    startAs(defaults::kOtherUserId);
    auto push = platform::Dictionary::make();
    push->setString("notification_type", "challenge");
    push->setString("resource_id", ids[0]);
    EXPECT_TRUE(Halcyon::applicationDidReceiveRemoteNotification(push));
    settle();
    EXPECT_EQ(requests("challenges_users/" + ids[0] + ".xml").size(), 1u);
    EXPECT_EQ(notices.banners, std::vector<std::string>{std::string("New Challenge! from ") + defaults::kUserName});

    Reached pending;
    HCChallengeService::getPendingChallengesForLocalUserAndLocalApplication(1, pending.success(), pending.failure());
    ASSERT_TRUE(waitFor(pending));
    auto records = pending.objects<HCChallengeToUser>();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(store->record(ids[0])->viewed);
    auto record = records.front();
    ASSERT_TRUE(record->challenge());
    EXPECT_TRUE(record->challenge()->usesChallengeData());
    EXPECT_EQ(record->challenge()->challenger()->name(), defaults::kUserName);
    EXPECT_FALSE(record->challenge()->challengeDefinition()->multiAttempt());

    ASSERT_TRUE(record->challenge()->downloadChallengeData());
    ASSERT_TRUE(waitUntil([&] { return !calls.lines.empty(); }));
    EXPECT_EQ(calls.lines, std::vector<std::string>{"data level 3, seed 42"});

    EXPECT_FALSE(record->completeWithResult(HCChallengeToUser::kNoResult));
    record->setResultDescription(std::string("%@ lost by 3 s, 100% %@"));
    EXPECT_EQ(record->formattedResultDescription(), "You lost by 3 s, 100% %@");
    ASSERT_TRUE(record->completeWithResult(HCChallengeToUser::kLose));
    settle();
    EXPECT_EQ(calls.lines.back(), "completed 2");
    const auto stored = store->record(ids[0]);
    EXPECT_EQ(stored->result, "lose");
    EXPECT_EQ(stored->resultText, "%@ lost by 3 s, 100% %@");
    EXPECT_TRUE(stored->completed);
    EXPECT_EQ(stored->attempts, 1u);

    Reached after;
    HCChallengeService::getPendingChallengesForLocalUserAndLocalApplication(1, after.success(), after.failure());
    ASSERT_TRUE(waitFor(after));
    EXPECT_TRUE(after.objects<HCChallengeToUser>().empty());
}

TEST_F(ChallengesEndToEndTest, ResultFormsRejectsAndRefusalsLeaveTheRecordsAsTheServerHasThem)
{
    startAs(defaults::kUserId);
    const auto ids = send({defaults::kOtherUserId, defaults::kOtherUserId, defaults::kOtherUserId});
    ASSERT_EQ(ids.size(), 3u);
    auto others = fetch(ids[2]);  // the sender may read it, not answer it
    ASSERT_TRUE(others);
    ASSERT_TRUE(others->completeWithResult(HCChallengeToUser::kWin));
    EXPECT_EQ(others->result(), HCChallengeToUser::kWin);
    settle();
    EXPECT_EQ(calls.lines.back(), "complete failed 0");
    EXPECT_EQ(others->result(), HCChallengeToUser::kNoResult);

    startAs(defaults::kOtherUserId);
    Reached codeFour;
    HCChallengeService::submitChallengeResult(ids[0], 4, std::string("odd"), codeFour.success(), codeFour.failure());
    ASSERT_TRUE(waitFor(codeFour));
    auto update = requests("challenges_users/" + ids[0] + "/update.xml");
    ASSERT_EQ(update.size(), 1u);
    EXPECT_EQ(update[0].request.param("challenges_user[result_text]"), "odd");
    EXPECT_FALSE(update[0].request.param("challenges_user[result]"));
    EXPECT_EQ(store->record(ids[0])->result, "");

    auto mine = fetch(ids[1]);
    ASSERT_TRUE(mine);
    ASSERT_TRUE(mine->reject());
    settle();
    EXPECT_EQ(calls.lines.back(), "rejected");
    EXPECT_TRUE(store->record(ids[1])->ignored);

    // A record without an id is refused at once: no request.
    const size_t sent = server->log().entries().size();
    auto blank = HCResource::initWithId<HCChallengeToUser>(std::string());
    EXPECT_FALSE(blank->reject());
    EXPECT_FALSE(blank->completeWithResult(HCChallengeToUser::kTie));
    settle();
    EXPECT_EQ(calls.lines, (std::vector<std::string>{"rejected", "reject failed", "complete failed 0"}));
    EXPECT_EQ(server->log().entries().size(), sent);
}

TEST_F(ChallengesEndToEndTest, ARecordComesBackFromItsFileWholeAndABadFileReadsAsNone)
{
    startAs(defaults::kUserId);
    const auto ids = send({defaults::kOtherUserId});
    startAs(defaults::kOtherUserId);
    auto record = fetch(ids[0]);
    ASSERT_TRUE(record);
    record->setResult(HCChallengeToUser::kTie);
    record->setResultDescription(std::string("<b>%@ & co</b>"));
    record->setIsCompleted(true);
    const std::string path = sandbox.str() + "/challenge.xml";
    ASSERT_TRUE(record->writeToFile(path));

    auto read = HCChallengeToUser::readFromFile(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->resourceId(), ids[0]);
    EXPECT_EQ(read->result(), HCChallengeToUser::kTie);
    EXPECT_EQ(read->resultDescription(), "<b>%@ & co</b>");
    EXPECT_TRUE(read->isCompleted());
    EXPECT_TRUE(read->hasBeenViewed() == record->hasBeenViewed());
    EXPECT_EQ(read->recipient()->resourceId(), defaults::kOtherUserId);
    ASSERT_TRUE(read->challenge());
    EXPECT_EQ(read->challenge()->challengeDescription(), "Beat 90 s & win");
    EXPECT_EQ(read->challenge()->challengeDataUrl(), record->challenge()->challengeDataUrl());
    EXPECT_FALSE(read->challenge()->challengeData());
    EXPECT_EQ(read->challenge()->challengeDefinition()->title(), "Beat my time");
    EXPECT_EQ(read->challenge()->challenger()->name(), defaults::kUserName);

    EXPECT_FALSE(HCChallengeToUser::readFromFile(sandbox.str() + "/missing.xml"));
    ASSERT_TRUE(platform::FileFacts::writeFileAtomically(path, std::string("<resources><challenges_user><id>4")));
    EXPECT_FALSE(HCChallengeToUser::readFromFile(path));
    ASSERT_TRUE(platform::FileFacts::writeFileAtomically(path, definition("1")->toResourceArrayXml()));
    EXPECT_FALSE(HCChallengeToUser::readFromFile(path));
}

TEST_F(ChallengesEndToEndTest, DefinitionsStatisticsAndTwoIconFetchesAtOnce)
{
    startAs(defaults::kUserId);
    // An empty list is no list: the failure callback.
    server->faults().injectFor("GET", "challenge_definitions.xml",
                               localserver::Fault::reply(200, "<resources></resources>", "application/xml"));
    ASSERT_TRUE(HCChallengeDefinition::downloadAllChallengeDefinitions());
    settle();
    EXPECT_EQ(calls.lines, std::vector<std::string>{"no definitions"});
    calls.lines.clear();
    ASSERT_TRUE(HCChallengeDefinition::downloadAllChallengeDefinitions());
    settle();
    EXPECT_EQ(calls.lines, std::vector<std::string>{"definitions 1:0 2:1"});
    EXPECT_FALSE(HCChallengeDefinition::downloadChallengeDefinitionWithId(std::string()));
    HCChallengeDefinition::downloadChallengeDefinitionWithId(std::string("9"));
    settle();
    HCChallengeDefinition::downloadChallengeDefinitionWithId(std::string("2"));
    settle();
    EXPECT_EQ(calls.lines, (std::vector<std::string>{"definitions 1:0 2:1", "no definition", "no definition",
                                                     "definition Top my score"}));
    EXPECT_EQ(requests("challenge_definitions/.xml").size(), 0u);

    // Ben lost one; Ann's statistics compared with Ben.
    const auto ids = send({defaults::kOtherUserId});
    startAs(defaults::kOtherUserId);
    fetch(ids[0])->completeWithResult(HCChallengeToUser::kLose);
    settle();
    startAs(defaults::kUserId);
    Reached stats;
    HCChallengeDefinitionService::getChallengeDefinitionStatsForLocalUser(1, std::nullopt,
                                                                          std::string(defaults::kOtherUserId),
                                                                          stats.success(), stats.failure());
    ASSERT_TRUE(waitFor(stats));
    auto rows = stats.objects<HCChallengeDefinitionStats>();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0]->comparison());
    EXPECT_EQ(rows[0]->comparedUsersLosses(), 1);
    EXPECT_EQ(rows[0]->localUsersWins(), 0);
    EXPECT_EQ(rows[0]->challengeDefinition()->title(), "Beat my time");
    EXPECT_EQ(requests("challenge_definitions.xml").back().request.param("client_application_id"), defaults::kGameId);
    Reached plain;
    HCChallengeDefinitionService::getChallengeDefinitionStatsForLocalUser(1, std::nullopt, std::string(),
                                                                          plain.success(), plain.failure());
    ASSERT_TRUE(waitFor(plain));
    EXPECT_FALSE(plain.objects<HCChallengeDefinitionStats>()[0]->comparison());
    EXPECT_FALSE(requests("challenge_definitions.xml").back().request.param("compared_user_id"));

    // Two fetches of one icon at once: each ends with its own image.
    calls.lines.clear();
    auto icon = HCResource::initWithId<HCChallengeDefinition>(std::string("1"));
    icon->setIconUrl(std::string("challenge_icons/1.png"));
    ASSERT_TRUE(icon->getIcon());
    ASSERT_TRUE(icon->getIcon());
    ASSERT_TRUE(waitUntil([&] { return calls.lines.size() == 2; }));
    EXPECT_EQ(calls.lines, (std::vector<std::string>{"icon 3", "icon 3"}));
    // Now cached: told before the call returns, no transfer.
    EXPECT_FALSE(icon->getIcon());
    EXPECT_EQ(calls.lines.size(), 3u);
}

TEST_F(ChallengesEndToEndTest, TheListsThePagesShowAndAFailedFetchAfterAPush)
{
    startAs(defaults::kUserId);
    const auto ids = send({defaults::kOtherUserId, defaults::kNamelessUserId});
    const auto plain = send({defaults::kOtherUserId}, "");
    Reached users;
    HCChallengeService::getUsersToChallenge(std::nullopt, 1, users.success(), users.failure());
    ASSERT_TRUE(waitFor(users));
    EXPECT_FALSE(users.failed);
    const auto asked = requests("users.xml").back().request;
    EXPECT_EQ(asked.param("scope"), "people-of-interest");
    EXPECT_EQ(asked.param("with_client_application"), defaults::kGameId);
    EXPECT_FALSE(asked.param("challenger_user_id"));
    Reached sentList;
    HCChallengeService::getSentChallengesForLocalUserAndLocalApplication(1, sentList.success(), sentList.failure());
    ASSERT_TRUE(waitFor(sentList));
    EXPECT_EQ(sentList.objects<HCChallenge>().size(), 2u);

    startAs(defaults::kOtherUserId);
    const auto challengeId = store->record(ids[0])->challengeId;
    Reached recipients;
    HCChallengeService::getUsersWhoReceivedChallengeWithId(challengeId, std::nullopt, 1, recipients.success(),
                                                           recipients.failure());
    ASSERT_TRUE(waitFor(recipients));
    ASSERT_EQ(recipients.objects<HCChallengeToUser>().size(), 2u);
    auto own = recipients.series()->tableMetaDataObjects();
    ASSERT_TRUE(own && own->count() == 1);
    EXPECT_EQ(platform::as<HCChallengeToUser>(own->at(0))->resourceId(), ids[0]);

    // Won the first; the history of its type holds it, the other type's none.
    fetch(ids[0])->completeWithResult(HCChallengeToUser::kWin);
    settle();
    Reached history, otherType;
    HCChallengeService::getChallengeHistoryForType(std::string("1"), std::nullopt, 1, history.success(),
                                                   history.failure());
    HCChallengeService::getChallengeHistoryForType(std::string("2"), std::nullopt, 1, otherType.success(),
                                                   otherType.failure());
    ASSERT_TRUE(waitFor(history) && waitFor(otherType));
    ASSERT_EQ(history.objects<HCChallengeToUser>().size(), 1u);
    EXPECT_EQ(history.objects<HCChallengeToUser>()[0]->result(), HCChallengeToUser::kWin);
    EXPECT_TRUE(otherType.objects<HCChallengeToUser>().empty());

    // The challenge sent without data has none to fetch; a blob that is not
    // there is a failure; a second download cuts the first off.
    auto withoutData = fetch(plain[0]);
    EXPECT_FALSE(withoutData->challenge()->usesChallengeData());
    auto missing = HCResource::initWithId<HCChallenge>(std::string("99"));
    missing->setDataUrl(std::string("/challenges/99/data.blob"));
    calls.lines.clear();
    ASSERT_TRUE(missing->downloadChallengeData());
    ASSERT_TRUE(waitUntil([&] { return !calls.lines.empty(); }));
    EXPECT_EQ(calls.lines, std::vector<std::string>{"no data"});
    auto challenge = fetch(ids[0])->challenge();
    calls.lines.clear();
    challenge->downloadChallengeData();
    challenge->downloadChallengeData();
    ASSERT_TRUE(waitUntil([&] { return !calls.lines.empty(); }));
    settle();
    EXPECT_EQ(calls.lines, std::vector<std::string>{"data level 3, seed 42"});

    // A push for a record this player cannot read.
    notices.banners.clear();
    auto push = platform::Dictionary::make();
    push->setString("notification_type", "challenge");
    push->setString("resource_id", "7");
    EXPECT_TRUE(Halcyon::applicationDidReceiveRemoteNotification(push));
    settle();
    EXPECT_EQ(requests("challenges_users/7.xml").size(), 1u);
    EXPECT_EQ(notices.banners, std::vector<std::string>{"Error downloading challenge."});
}

TEST_F(ChallengesEndToEndTest, ALaunchForAChallengeOpensItsDetailAndWaitsForTheLogInWhenOffline)
{
    startAs(defaults::kUserId);
    const auto ids = send({defaults::kOtherUserId});
    const std::string challengeId = store->record(ids[0])->challengeId;
    auto launchOptions = [](const std::string& recordId) {
        auto push = platform::Dictionary::make();
        push->setString("notification_type", "challenge");
        push->setString("resource_id", recordId);
        auto options = platform::Dictionary::make();
        options->setObject("UIApplicationLaunchOptionsRemoteNotificationKey", push);
        return options;
    };

    startAs(defaults::kOtherUserId);
    EXPECT_TRUE(Halcyon::respondToApplicationLaunchOptions(launchOptions(ids[0])));
    settle();
    EXPECT_EQ(launches, std::vector<std::string>{"GameProfile ChallengeList ChallengeDetail " + challengeId});

    // Offline: nothing is asked until the next log-in has ended.
    startAs(defaults::kOtherUserId, false);
    server->log().clear();
    EXPECT_TRUE(Halcyon::respondToApplicationLaunchOptions(launchOptions(ids[0])));
    settle();
    EXPECT_TRUE(launches.empty());
    EXPECT_TRUE(requests("challenges_users/" + ids[0] + ".xml").empty());
    const size_t before = game.calls.size();
    HCReachability::Instance()->setOverride(HCReachability::ReachableViaWiFi);
    ASSERT_TRUE(waitUntil([&] { return game.calls.size() > before; }));
    settle();
    EXPECT_EQ(requests("challenges_users/" + ids[0] + ".xml").size(), 1u);
    EXPECT_EQ(launches, std::vector<std::string>{"GameProfile ChallengeList ChallengeDetail " + challengeId});
}

}  // namespace
