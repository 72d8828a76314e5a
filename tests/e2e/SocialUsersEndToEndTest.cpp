// Players, following and linked logins over real HTTP against the local
// server: the wire form of each call, following and unfollowing seen in the
// lists, removing a follower, and the calls that fail without a request.
#include <gtest/gtest.h>

#include <clocale>
#include <memory>
#include <vector>

#include "core/clientstate/HCClientState.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/users/HCHttpBasicCredential.h"
#include "core/users/HCUser.h"
#include "core/users/HCUserService.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "platform/ui/Image.h"
#include "platform/ui/Location.h"
#include "social/friends/HCFriendsService.h"
#include "social/users/HCUsersCredential.h"
#include "social/users/HCUsersCredentialService.h"

namespace {

using namespace localserver::defaults;

class SocialUsersEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCUserService::initializeService();
        HCFriendsService::initializeService();
        HCUsersCredentialService::initializeService();
        HCClientStateQueries queries;
        queries.clientApplicationId = [] { return std::optional<std::string>(kGameId); };
        HCClientState::setQueries(queries);
    }
    void TearDown() override
    {
        HCClientState::setQueries({});
        HCUsersCredentialService::shutdownService();
        HCFriendsService::shutdownService();
        HCUserService::shutdownService();
        LiveServerTest::TearDown();
    }


    std::vector<std::string> names(const Outcome& outcome)
    {
        std::vector<std::string> out;
        for (const auto& user : outcome.objects<HCUser>()) out.push_back(user->name().value_or("?"));
        return out;
    }

    // Waits for a call that must reach the server.
    Outcome sent(const std::function<HCRequestHandlePtr(const HCDelegate&, const HCDelegate&)>& call)
    {
        Outcome outcome;
        EXPECT_TRUE(call(outcome.success(), outcome.failed()));
        EXPECT_TRUE(waitFor(outcome));
        return outcome;
    }

    localserver::Request last() { return server->log().entries().back().request; }
};

TEST_F(SocialUsersEndToEndTest, FollowingAPlayerShowsInTheListsAndRemovingAFollowerIsNotUnfollowing)
{
    auto followed = [&] {
        return names(sent([](auto& s, auto& f) { return HCFriendsService::getUsersFollowedByLocalUser(1, s, f); }));
    };
    EXPECT_EQ(followed(), std::vector<std::string>{"Ben"});
    EXPECT_EQ(last().param("user_id"), "me");
    EXPECT_EQ(last().param("scope"), "people-of-interest");

    // Ann finds Dora by name and follows her.
    auto found = sent([](auto& s, auto& f) { return HCUserService::findUsersByName("dor", 1, s, f); });
    ASSERT_EQ(names(found), std::vector<std::string>{"Dora"});
    EXPECT_EQ(last().param("name"), "dor");
    EXPECT_EQ(last().param("page"), "1");
    const auto dora = found.objects<HCUser>()[0]->resourceId();
    auto follow = sent([&](auto& s, auto& f) { return HCFriendsService::makeLocalUserFollow(dora, s, f); });
    EXPECT_FALSE(follow.failure);
    EXPECT_EQ(last().method, "POST");
    EXPECT_EQ(last().path, "users/" + *dora + "/following.xml");
    EXPECT_EQ(followed(), (std::vector<std::string>{"Ben", "Dora"}));

    // Ben follows Ann; Ann removes him as a follower: she still follows him.
    useProvider(kProductSecret, kOtherUserToken, kOtherUserTokenSecret);
    sent([](auto& s, auto& f) { return HCFriendsService::makeLocalUserFollow(std::string(kUserId), s, f); });
    useProvider(kProductSecret, kUserToken, kUserTokenSecret);
    auto followers = sent([](auto& s, auto& f) { return HCFriendsService::getUsersFollowingLocalUser(1, false, s, f); });
    EXPECT_EQ(names(followers), std::vector<std::string>{"Ben"});
    EXPECT_FALSE(last().param("user_id")) << "no user id: the server takes the caller";
    EXPECT_FALSE(last().param("im-not-following"));
    sent([](auto& s, auto& f) { return HCFriendsService::getUsersFollowingLocalUser(1, true, s, f); });
    EXPECT_EQ(last().param("im-not-following"), "1");

    sent([](auto& s, auto& f) { return HCFriendsService::removeLocalUsersFollower(std::string(kOtherUserId), s, f); });
    EXPECT_EQ(last().method, "DELETE");
    EXPECT_EQ(last().param("follower"), "yes");
    EXPECT_TRUE(names(sent([](auto& s, auto& f) { return HCFriendsService::getUsersFollowingLocalUser(1, false, s, f); }))
                    .empty());
    EXPECT_EQ(followed(), (std::vector<std::string>{"Ben", "Dora"}));

    sent([&](auto& s, auto& f) { return HCFriendsService::makeLocalUserStopFollowing(dora, s, f); });
    EXPECT_EQ(last().method, "DELETE");
    EXPECT_FALSE(last().param("follower"));
    EXPECT_EQ(followed(), std::vector<std::string>{"Ben"});
}

TEST_F(SocialUsersEndToEndTest, FriendsWithTheGameAreOneFlatListAndAnEmptyGameIdMeansThisGameThere)
{
    for (const std::optional<std::string>& app : {std::optional<std::string>(), std::optional<std::string>("")}) {
        auto all = sent([&](auto& s, auto& f) { return HCFriendsService::getAllUsersWithApp(app, std::nullopt, s, f); });
        EXPECT_EQ(names(all), std::vector<std::string>{"Ben"});
        EXPECT_EQ(last().param("with_client_application"), kGameId);
        EXPECT_EQ(last().param("not_sectioned"), "yes");
        EXPECT_EQ(last().param("full_alphabetical_list"), "1");
        // The paged list means this game only when no id is given at all.
        auto paged = sent([&](auto& s, auto& f) { return HCFriendsService::getUsersWithAppFollowedByLocalUser(app, 1, s, f); });
        EXPECT_EQ(last().param("with_client_application"), app ? *app : std::string(kGameId));
        EXPECT_EQ(last().param("user_id"), "me");
    }
    // The alphabetical list without the game comes in sections.
    auto sections = sent([](auto& s, auto& f) { return HCFriendsService::getAllUsersFollowedByLocalUserAlphabetical(s, f); });
    auto first = sections.objects<HCTableSectionDescription>();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0]->title(), "B");
    ASSERT_TRUE(first[0]->page());
    ASSERT_EQ(first[0]->page()->count(), 1u);
    auto ben = platform::as<HCUser>(first[0]->page()->objectAtIndex(0));
    ASSERT_TRUE(ben);
    EXPECT_EQ(ben->name(), "Ben");

    // Whether Ann follows anyone arrives as a number, on the main thread.
    std::shared_ptr<platform::Number> answer;
    bool onMain = false;
    auto onAnswer = HCDelegate::withFunction([&](const platform::ObjectPtr& value) {
        answer = platform::as<platform::Number>(value);
        onMain = platform::Thread::isMainThread();
    });
    ASSERT_TRUE(HCFriendsService::isLocalUserFollowingAnyone(onAnswer, HCDelegate()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return answer != nullptr; }));
    EXPECT_TRUE(onMain);
    EXPECT_TRUE(answer->boolValue());
    EXPECT_EQ(last().param("per_page"), "1");
    // A reply with nobody in it is a plain NO, not a failure.
    server->faults().injectFor("GET", "users.xml", localserver::Fault::reply(200, "<resources></resources>"));
    answer = nullptr;
    ASSERT_TRUE(HCFriendsService::isLocalUserFollowingAnyone(onAnswer, HCDelegate()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return answer != nullptr; }));
    EXPECT_FALSE(answer->boolValue());
}

TEST_F(SocialUsersEndToEndTest, LinkedLoginsThePictureSourceAndTheEmailLogin)
{
    auto linked = sent([](auto& s, auto& f) { return HCUsersCredentialService::getIndexOnSuccess(s, f, true); });
    EXPECT_EQ(last().param("only_include_linked_credentials"), "1");
    EXPECT_EQ(last().param("user_id"), "me");
    auto sections = linked.objects<HCTableSectionDescription>();
    ASSERT_EQ(sections.size(), 1u);
    ASSERT_EQ(sections[0]->page()->count(), 1u);
    auto credential = platform::as<HCUsersCredential>(sections[0]->page()->objectAtIndex(0));
    ASSERT_TRUE(credential);
    EXPECT_TRUE(credential->isHttpBasic());
    EXPECT_TRUE(credential->isLinked());
    EXPECT_TRUE(credential->hasGlobalPermissions());

    for (const std::optional<std::string>& type : {std::optional<std::string>(), std::optional<std::string>("")}) {
        sent([&](auto& s, auto& f) { return HCUsersCredentialService::selectProfilePictureSourceForLocalUser(type, s, f); });
        EXPECT_EQ(last().path, "profile_picture/select/http_basic");
    }

    // The upload is a JPEG file part; the server takes it.
    auto image = platform::ui::Image::imageWithData(platform::Data::fromString(std::string(
        "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x02\x08\x06"
        "\x00\x00\x00\x72\xb6\x0d\x24\x00\x00\x00\x11\x49\x44\x41\x54\x78\x9c\x63\x50\x68\x38\xf0\x1f\x84\x19\x60"
        "\x0c\x00\x4f\xb4\x09\x7d\xd9\x7c\x10\xe9\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
        74)));
    ASSERT_TRUE(image);
    auto uploaded = sent([&](auto& s, auto& f) { return HCUsersCredentialService::uploadProfilePictureLocalUser(image, s, f); });
    EXPECT_FALSE(uploaded.failure);
    ASSERT_TRUE(last().file("uploaded_profile_picture"));

    auto email = sent([](auto& s, auto& f) { return HCUserService::getEmailForUser(std::nullopt, s, f); });
    EXPECT_EQ(last().path, "http_basic_credentials/@me.xml");
    auto logins = email.objects<HCHttpBasicCredential>();
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0]->email(), "ann@example.com");
    EXPECT_TRUE(logins[0]->verified());

    auto device = sent([](auto& s, auto& f) { return HCUserService::findUsersForLocalDevice(s, f); });
    EXPECT_FALSE(last().param("udid").value_or("").empty());
    EXPECT_FALSE(names(device).empty());

    // Importing from a network that is not linked is refused by the server.
    auto import = sent([](auto& s, auto& f) { return HCUsersCredentialService::importFriendsFromCredentialType("twitter", s, f); });
    ASSERT_TRUE(import.failure);
    EXPECT_EQ(import.failure->statusCode(), 422);
    EXPECT_EQ(last().param("credential_name"), "twitter");
}

TEST_F(SocialUsersEndToEndTest, ALocationIsWrittenWithADecimalPointInAnyLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    Outcome outcome;
    auto handle = HCUserService::setUserLocation(std::nullopt, platform::ui::Location::make(52.52, -13.405), true,
                                                 outcome.success(), outcome.failed());
    const bool waited = waitFor(outcome);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(handle);
    ASSERT_TRUE(waited);
    EXPECT_EQ(last().path, "users/@me/set_location.xml");
    EXPECT_EQ(last().param("lat"), "52.520000");
    EXPECT_EQ(last().param("lng"), "-13.405000");
    EXPECT_EQ(last().param("allowed"), "1");
}

TEST_F(SocialUsersEndToEndTest, CallsThatNameNobodyOrCarryNothingFailWithoutARequest)
{
    fence();
    const auto before = server->log().size();
    std::vector<Outcome> outcomes(6);
    EXPECT_EQ(HCFriendsService::makeLocalUserFollow(std::string(""), outcomes[0].success(), outcomes[0].failed()), nullptr);
    EXPECT_EQ(HCFriendsService::removeLocalUsersFollower(std::nullopt, outcomes[1].success(), outcomes[1].failed()), nullptr);
    EXPECT_EQ(HCFriendsService::getUsersFollowingUser(std::string(""), false, 1, outcomes[2].success(), outcomes[2].failed()),
              nullptr);
    // A nil picture is the default icon and is sent; an empty type names nothing.
    EXPECT_EQ(HCUsersCredentialService::selectProfilePictureSourceForLocalUser(std::string("."), outcomes[3].success(),
                                                                               outcomes[3].failed()),
              nullptr);
    EXPECT_EQ(HCUserService::getEmailForUser(std::string(""), outcomes[4].success(), outcomes[4].failed()), nullptr);
    // No client running: no local player to answer with or to look up for.
    EXPECT_EQ(HCUserService::getUser(std::string(kOtherUserId), outcomes[5].success(), outcomes[5].failed()), nullptr);
    EXPECT_EQ(outcomes[5].calls, 1) << "answered before the call returned";
    for (auto& outcome : outcomes) {
        ASSERT_TRUE(waitFor(outcome));
        EXPECT_FALSE(outcome.series);
    }
    fence();
    EXPECT_EQ(server->log().size(), before + 1);
}

TEST_F(SocialUsersEndToEndTest, ANilLocationSendsNothingAndAPictureThatCannotBeEncodedIsRefused)
{
    fence();
    const auto before = server->log().size();
    Outcome location;
    EXPECT_EQ(HCUserService::setUserLocation(std::nullopt, nullptr, true, location.success(), location.failed()), nullptr);
    // A bitmap of no pixels, which no JPEG can hold.
    auto blank = std::make_shared<platform::ui::Image>(0, 0, std::make_shared<const std::vector<uint8_t>>(), 1.0);
    Outcome picture;
    EXPECT_EQ(HCUsersCredentialService::uploadProfilePictureLocalUser(blank, picture.success(), picture.failed()),
              nullptr);
    ASSERT_TRUE(waitFor(picture));
    EXPECT_FALSE(picture.series);
    fence();
    EXPECT_EQ(location.calls, 0);
    EXPECT_EQ(picture.calls, 1);
    EXPECT_EQ(server->log().size(), before + 1);
}

}  // namespace
