// The log-in routes over loopback HTTP, signed by the tests' own signers:
// device registration and its cookie, the user session, the JSON error form,
// expiry, and the bootstrap reply whose token signs later OAuth requests.
#include <gtest/gtest.h>

#include "localserver/Fixtures.h"
#include "localserver/routes/ForumRoutes.h"
#include "support/ServerFixture.h"
#include "support/XmlTree.h"

using namespace localserver;
using namespace localserver_test;

namespace {

class LoginRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        registerServiceRoutes(*server);
    }

    // A JSON API request: the target below the root, a form body, the
    // session cookie when given, signed with `secret`.
    HttpResult xpRequest(const std::string& method, const std::string& relative, const std::string& body = {},
                         const std::string& cookie = {}, const std::string& secret = defaults::kProductSecret)
    {
        const std::string target = "/" + relative;
        std::vector<std::string> headers = {
            "X-HC-Key: " + std::string(defaults::kProductKey),
            "X-HC-Signature: " + xpSignature(method, target, body, secret),
        };
        if (!body.empty()) headers.push_back("Content-Type: application/x-www-form-urlencoded; charset=UTF-8");
        if (!cookie.empty()) headers.push_back("Cookie: _hc_session=" + cookie);
        return httpRequest(method, url(relative), headers, body);
    }

    static std::string cookieOf(const HttpResult& result)
    {
        const std::string header = result.header("Set-Cookie");
        const std::string prefix = "_hc_session=";
        if (header.rfind(prefix, 0) != 0) return {};
        return header.substr(prefix.size(), header.find(';') - prefix.size());
    }

    std::string registerDevice(const std::string& identifier = "dev-1")
    {
        auto result = xpRequest("POST", "xp/devices",
                                "platform=iOS&device%5Bidentifier%5D=" + identifier + "&protocol_version=1.0");
        EXPECT_EQ(result.status, 200) << result.body;
        return cookieOf(result);
    }
};

TEST_F(LoginRoutesTest, DeviceRegistrationOpensASessionAndAnswersTheDeviceRecord)
{
    // "Ann's phone + tablet & more = ü" escaped as the client's form writes it.
    const std::string body =
        "platform=iOS&device%5Bidentifier%5D=dev-1&device%5Bname%5D=Ann%27s%20phone%20%2B%20tablet%20%26%20more%20%3D%20"
        "%C3%BC&protocol_version=1.0";
    auto result = xpRequest("POST", "xp/devices", body);
    ASSERT_EQ(result.status, 200) << result.body;
    EXPECT_EQ(result.body, "{\"device\":{\"users\":[]}}");
    EXPECT_NE(result.header("Content-Type").find("application/json"), std::string::npos);
    const std::string cookie = cookieOf(result);
    ASSERT_EQ(cookie.size(), 32u);
    EXPECT_NE(result.header("Set-Cookie").find("Path=/"), std::string::npos);
    ASSERT_TRUE(server->login().session(cookie));
    EXPECT_EQ(server->login().session(cookie)->deviceId, "dev-1");
    auto device = server->login().device("dev-1");
    ASSERT_TRUE(device);
    EXPECT_EQ(firstValue(device->facts, "device[name]"), "Ann's phone + tablet & more = \xC3\xBC");

    // Parental controls and known players show in the next registration's record.
    server->login().setParentalControls("dev-1", true);
    server->login().addDeviceUser("dev-1", defaults::kUserId);
    result = xpRequest("POST", "xp/devices", body);
    EXPECT_EQ(result.body,
              "{\"device\":{\"users\":[{\"id\":\"1001\",\"name\":\"Ann\"}],\"parental_control\":{\"enabled\":true}}}");
    EXPECT_NE(cookieOf(result), cookie);
}

TEST_F(LoginRoutesTest, BadSignaturesAndMissingFieldsAnswerInTheJsonErrorForm)
{
    auto result = xpRequest("POST", "xp/devices", "device%5Bidentifier%5D=dev-1", {}, "wrong-secret");
    EXPECT_EQ(result.status, 401);
    EXPECT_EQ(result.body, "{\"exception\":{\"class\":\"InvalidSignature\",\"message\":\"signature mismatch\"}}");
    EXPECT_TRUE(result.header("Set-Cookie").empty());

    // A body changed after signing is refused.
    std::vector<std::string> headers = {"X-HC-Key: " + std::string(defaults::kProductKey),
                                        "X-HC-Signature: " + xpSignature("POST", "/xp/devices", "a=1", defaults::kProductSecret),
                                        "Content-Type: application/x-www-form-urlencoded"};
    EXPECT_EQ(httpRequest("POST", url("xp/devices"), headers, "a=2").status, 401);
    EXPECT_EQ(httpRequest("POST", url("xp/devices"), {}, "a=1").status, 401);

    result = xpRequest("POST", "xp/devices", "platform=iOS");
    EXPECT_EQ(result.status, 422);
    EXPECT_NE(result.body.find("\"class\":\"ArgumentError\""), std::string::npos);
}

TEST_F(LoginRoutesTest, UserSessionOpensAndClosesOnlyWithALiveDeviceSession)
{
    const std::string login = "platform=iOS&hc-version=2.10&app-version=1.0&user_id=1001";
    auto result = xpRequest("POST", "xp/sessions", login);
    EXPECT_EQ(result.status, 401);
    EXPECT_NE(result.body.find("SessionRequired"), std::string::npos);

    const std::string cookie = registerDevice();
    result = xpRequest("POST", "xp/sessions", login, cookie);
    ASSERT_EQ(result.status, 200) << result.body;
    EXPECT_EQ(result.body, "{\"session\":{\"user_id\":\"1001\"}}");
    EXPECT_EQ(server->login().session(cookie)->userId, "1001");

    EXPECT_EQ(xpRequest("POST", "xp/sessions", "platform=iOS&user_id=999", cookie).status, 404);

    EXPECT_EQ(xpRequest("DELETE", "xp/sessions", {}, cookie).status, 200);
    EXPECT_EQ(server->login().session(cookie)->userId, "");
    // Nobody left to log out.
    EXPECT_EQ(xpRequest("DELETE", "xp/sessions", {}, cookie).status, 401);

    // An expired session answers 401 on every JSON route but the registration.
    ASSERT_EQ(xpRequest("POST", "xp/sessions", login, cookie).status, 200);
    server->login().expireSessions();
    result = xpRequest("DELETE", "xp/sessions", {}, cookie);
    EXPECT_EQ(result.status, 401);
    EXPECT_NE(result.body.find("SessionExpired"), std::string::npos);
    EXPECT_EQ(xpRequest("POST", "xp/sessions", login, cookie).status, 401);
    EXPECT_FALSE(registerDevice().empty());
}

TEST_F(LoginRoutesTest, TheBootstrapsSuggestionsTopicIsOneTheForumServes)
{
    registerForumRoutes(*server);
    auto result = signedRequest("POST", "bootstrap.xml", {}, {{"udid", "dev-1"}, {"user_id", "1001"}},
                                defaultConsumerCredentials());
    ASSERT_EQ(result.status, 200) << result.body;
    auto tree = parseXml(result.body);
    ASSERT_TRUE(tree && tree->child("bootstrap"));
    const auto* topic = tree->child("bootstrap")->child("topic_app_suggestions_id");
    ASSERT_TRUE(topic);
    result = signedRequest("GET", "topics/" + topic->text + "/discussions.xml");
    EXPECT_EQ(result.status, 200) << "topic " << topic->text << ": " << result.body;
}

TEST_F(LoginRoutesTest, PasswordIsCheckedWhenTheUserHasOne)
{
    User user("3000", "Cy");
    user.password = "secret";
    server->accounts().addUser(user);
    const std::string cookie = registerDevice();
    EXPECT_EQ(xpRequest("POST", "xp/sessions", "platform=iOS&user_id=3000&password=nope", cookie).status, 401);
    EXPECT_EQ(xpRequest("POST", "xp/sessions", "platform=iOS&user_id=3000&password=secret", cookie).status, 200);
    // The re-login after a 401 sends no password.
    EXPECT_EQ(xpRequest("POST", "xp/sessions", "platform=iOS&user_id=3000", cookie).status, 200);
}

TEST_F(LoginRoutesTest, BootstrapIssuesATokenThatSignsLaterRequests)
{
    server->login().setOfflineBlockSource(nullptr);
    auto result = signedRequest("POST", "bootstrap.xml", {}, {{"udid", "dev-1"}, {"user_id", "1001"}},
                                defaultConsumerCredentials());
    ASSERT_EQ(result.status, 200) << result.body;
    auto tree = parseXml(result.body);
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->childNames(), std::vector<std::string>{"bootstrap"});
    const XmlElement& bootstrap = *tree->child("bootstrap");
    EXPECT_EQ(bootstrap.childNames(),
              (std::vector<std::string>{"minimum_halcyon_version_supported", "polling_frequency_in_chat",
                                        "polling_frequency_default", "game_profile_page_info", "user",
                                        "logged_in_user_has_set_name", "logged_in_user_has_friends",
                                        "logged_in_user_is_new_user", "access_token", "access_token_secret",
                                        "logged_in_user_has_http_basic_credential",
                                        "logged_in_user_has_fbconnect_credential",
                                        "logged_in_user_has_twitter_credential", "client_application_id",
                                        "client_application_icon_url", "unviewed_challenges_count",
                                        "pending_friends_count", "ims_unread_count", "subscribed_threads_unread_count",
                                        "invites_unread_count", "unfulfilled_invites_count", "topic_app_suggestions_id",
                                        "initial_dashboard_screen", "initial_dashboard_modal_content_url",
                                        "initialize_presence_service", "pipe_http_over_presence_service",
                                        "presence_queue", "logged_in_user_has_share_location_enabled"}));
    EXPECT_EQ(bootstrap.child("user")->child("id")->text, "1001");
    EXPECT_EQ(bootstrap.child("user")->child("name")->text, "Ann");
    EXPECT_EQ(bootstrap.child("logged_in_user_has_friends")->text, "true");
    EXPECT_EQ(bootstrap.child("logged_in_user_has_http_basic_credential")->text, "true");
    EXPECT_EQ(bootstrap.child("logged_in_user_is_new_user")->text, "false");
    // The game's fixture: its id is the client application id, its names the profile's.
    EXPECT_EQ(bootstrap.child("client_application_id")->text, defaults::kGameId);
    EXPECT_EQ(bootstrap.child("game_profile_page_info")->child("name")->text, defaults::kGameName);
    EXPECT_EQ(bootstrap.child("game_profile_page_info")->child("short_name")->text, defaults::kGameShortName);
    const std::string token = bootstrap.child("access_token")->text;
    const std::string secret = bootstrap.child("access_token_secret")->text;
    EXPECT_EQ(server->login().device("dev-1")->lastUserId, "1001");

    // The issued token signs as Ann from now on; a made-up one does not.
    result = signedRequest("GET", "server_timestamp", {}, {},
                           Credentials{defaults::kProductKey, defaults::kProductSecret, token, secret});
    EXPECT_EQ(result.status, 200);
    result = signedRequest("GET", "server_timestamp", {}, {},
                           Credentials{defaults::kProductKey, defaults::kProductSecret, token, "other"});
    EXPECT_EQ(result.status, 401);

    // Unknown users are refused; a new account gets an id of its own and no name.
    EXPECT_EQ(signedRequest("POST", "bootstrap.xml", {}, {{"udid", "dev-1"}, {"user_id", "999"}},
                            defaultConsumerCredentials())
                  .status,
              404);
    server->login().setOfflineBlock(XmlNode::parent("offline", {XmlNode::parent("achievements")}));
    result = signedRequest("POST", "bootstrap.xml", {}, {{"udid", "dev-1"}, {"create_new_account", "1"}},
                           defaultConsumerCredentials());
    ASSERT_EQ(result.status, 200);
    tree = parseXml(result.body);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->childNames(), (std::vector<std::string>{"bootstrap", "offline"}));
    const XmlElement& fresh = *tree->child("bootstrap");
    EXPECT_EQ(fresh.child("logged_in_user_is_new_user")->text, "true");
    EXPECT_EQ(fresh.child("logged_in_user_has_set_name")->text, "false");
    EXPECT_EQ(fresh.child("user")->child("name"), nullptr);
    const std::string newId = fresh.child("user")->child("id")->text;
    EXPECT_TRUE(server->accounts().user(newId));
    EXPECT_EQ(server->login().device("dev-1")->userIds, (std::vector<std::string>{"1001", newId}));

    // Without a user id the device's last player comes back.
    result = signedRequest("POST", "bootstrap.xml", {}, {{"udid", "dev-1"}}, defaultConsumerCredentials());
    tree = parseXml(result.body);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->child("bootstrap")->child("user")->child("id")->text, newId);
}

TEST_F(LoginRoutesTest, BootstrapRecordsTheStatisticsOnlyUnderTheServicesNames)
{
    server->login().setOfflineBlockSource(nullptr);
    auto bootstrap = [&](const Pairs& stats) {
        Pairs form = {{"udid", "dev-1"}, {"user_id", "1001"}};
        form.insert(form.end(), stats.begin(), stats.end());
        return signedRequest("POST", "bootstrap.xml", {}, form, defaultConsumerCredentials()).status;
    };
    // The scoped spelling is not what the service reads: nothing is recorded.
    ASSERT_EQ(bootstrap({{"user_stats[total_game_sessions]", "4"}, {"user_stats[version]", "2"}}), 200);
    EXPECT_TRUE(server->login().reportedUserStats().empty());

    // A counter that is not a whole number is left out; the others arrive.
    ASSERT_EQ(bootstrap({{"[user_stats]total_dashboard_duration", "75"},
                         {"[user_stats]total_dashboard_launches", "3"},
                         {"[user_stats]total_game_session_duration", "12x"},
                         {"[user_stats]total_game_sessions", "4"},
                         {"[user_stats]total_online_game_sessions", ""},
                         {"[user_stats]version", "2"}}),
              200);
    const auto reported = server->login().reportedUserStats();
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].userId, "1001");
    EXPECT_EQ(reported[0].version, "2");
    EXPECT_EQ(reported[0].counters,
              (std::map<std::string, long long>{
                  {"total_dashboard_duration", 75}, {"total_dashboard_launches", 3}, {"total_game_sessions", 4}}));
}

}  // namespace
