// The JSON session over loopback HTTP against the local server: device
// registration, log-in through the bootstrap exchange, log-out, the queue
// while a session change runs, the 401 re-login with its one retry, and the
// failures the observers hear.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/users/HCUser.h"
#include "e2e/support/LoginFixture.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Json.h"
#include "localserver/XPSignature.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/net/CookieStore.h"

using localserver::Request;
using localserver::Reply;
namespace defaults = localserver::defaults;

namespace {

class SessionEndToEndTest : public LoginFixture {
protected:
    void SetUp() override
    {
        LoginFixture::SetUp();
        // Echoes nothing but whether the server's own verifier accepted the signature.
        for (const char* method : {"GET", "POST", "PUT", "DELETE"}) {
            server->addRoute(method, "xp/echo", localserver::Access::Open, [this](const Request& req) {
                const auto verdict = localserver::xp::verify(server->accounts(), req);
                if (!verdict.ok) return localserver::json::exception(403, "InvalidSignature", verdict.reason);
                return localserver::json::reply(200, "{\"echo\":{\"ok\":true}}");
            });
        }
        server->addRoute("GET", "xp/protected", localserver::Access::Open, [](const Request&) {
            return localserver::json::exception(401, "SessionExpired", "log in again");
        });
        server->addRoute("GET", "xp/open", localserver::Access::Open,
                         [](const Request&) { return localserver::json::reply(200, "{\"fine\":{}}"); });
    }

    // Logs in the built-in first user and waits for the end.
    void logIn()
    {
        session->loginUserId(defaults::kUserId, std::nullopt);
        ASSERT_TRUE(waitUntil([&] { return session->createdUserSession() && session->sessionChangeAllowed(); }));
        observed.clear();
        server->log().clear();
    }

    std::shared_ptr<JsonOutcome> send(const std::string& method, const std::string& path, bool needsUser = true,
                                      bool needsDevice = true,
                                      const std::shared_ptr<platform::Dictionary>& args = nullptr)
    {
        auto outcome = std::make_shared<JsonOutcome>();
        auto request = jsonRequest(method, path, outcome, args);
        request->setRequiresUserSession(needsUser);
        request->setRequiresDeviceSession(needsDevice);
        request->execute();
        return outcome;
    }

    std::string sessionCookie() const
    {
        auto cookies = platform::CookieStore::shared().cookiesNamed(HCSession::kSessionCookieName);
        return cookies.empty() ? std::string() : cookies.front().value;
    }
};

TEST_F(SessionEndToEndTest, FirstLogInRegistersTheDeviceBootstrapsAndOpensTheUserSession)
{
    session->loginUserId(defaults::kUserId, std::nullopt);
    // A second log-in asked for before the device answers is not stored.
    session->loginUserId(defaults::kOtherUserId, std::nullopt);
    EXPECT_FALSE(session->sessionChangeAllowed());
    // During the change a request that needs a user session fails at once;
    // one that needs only the device waits and goes out afterwards.
    auto needsUser = send("GET", "xp/open");
    EXPECT_EQ(needsUser->exceptionClass(), "SessionFailure");
    EXPECT_EQ(needsUser->codes, std::vector<uint32_t>{0});
    auto deviceOnly = send("GET", "xp/open", false);
    EXPECT_EQ(session->queuedRequestCount(), 1u);

    ASSERT_TRUE(waitUntil([&] { return !deviceOnly->codes.empty(); }));
    EXPECT_EQ(deviceOnly->codes, std::vector<uint32_t>{200});
    EXPECT_EQ(serverPaths(), (std::vector<std::string>{"POST xp/devices 200", "POST bootstrap.xml 200",
                                                       "POST xp/sessions 200", "GET xp/open 200"}));
    EXPECT_EQ(observed, (std::vector<std::string>{"login:1001<-0", "plain:login:1001<-0"}));
    ASSERT_TRUE(session->currentUser());
    EXPECT_EQ(session->currentUser()->userId(), std::optional<std::string>(defaults::kUserId));
    EXPECT_NE(session->currentDevice(), nullptr);

    const auto log = server->log().entries();
    EXPECT_EQ(localserver::firstValue(log[0].request.params, "device[identifier]"),
              platform::DeviceFacts::uniqueIdentifier());
    EXPECT_EQ(localserver::firstValue(log[0].request.params, "protocol_version"), "1.0");
    EXPECT_EQ(localserver::firstValue(log[1].request.params, "user_id"), defaults::kUserId);
    // The signed bootstrap carries the cookie the registration set.
    EXPECT_EQ(log[1].request.header("Cookie"), "_hc_session=" + sessionCookie());
    EXPECT_EQ(localserver::firstValue(log[2].request.params, "hc-version"), "2.10");
    EXPECT_FALSE(localserver::firstValue(log[2].request.params, "password"));
    // The cookie the registration set is the one session the server bound the user to.
    const std::string cookie = sessionCookie();
    ASSERT_FALSE(cookie.empty());
    EXPECT_EQ(server->login().session(cookie)->userId, defaults::kUserId);
    // The bootstrap's token signs the provider's requests from now on.
    fence();
    const auto fenced = server->log().entries().back().request;
    const auto token = localserver::firstValue(fenced.oauth, "oauth_token");
    ASSERT_TRUE(token);
    EXPECT_NE(*token, defaults::kUserToken);
    EXPECT_EQ(server->accounts().token(*token)->userId, defaults::kUserId);
}

TEST_F(SessionEndToEndTest, SignedBodiesAndQueriesPassTheServersOwnVerifier)
{
    auto args = platform::Dictionary::make();
    args->setString("text", "a&b=c+d %20 \xC3\xBC \xE2\x82\xAC 'q'");
    auto nested = platform::Dictionary::make();
    nested->setString("k", "=&+");
    args->setObject("nested", nested);
    std::vector<std::shared_ptr<JsonOutcome>> outcomes;
    for (const char* method : {"POST", "PUT", "GET", "DELETE"}) outcomes.push_back(send(method, "/xp/echo", false, true, args));
    auto raw = std::make_shared<JsonOutcome>();
    auto request = HCXPRequest::postRequestWithPathAndBodyString("xp/echo", "x=%26%3D%2B&y=\xC3\xBC");
    request->onRespondJSON(raw);
    request->setRequiresUserSession(false);
    request->execute();
    outcomes.push_back(raw);

    ASSERT_TRUE(waitUntil([&] {
        for (const auto& outcome : outcomes)
            if (outcome->codes.empty()) return false;
        return true;
    }));
    for (const auto& outcome : outcomes) EXPECT_EQ(outcome->codes, std::vector<uint32_t>{200}) << outcome->text;
    // The five went out together once the device was registered, in any order.
    const auto log = server->log().entries();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].request.path, "xp/devices");
    int structured = 0;
    for (size_t i = 1; i < log.size(); ++i) {
        const auto& request = log[i].request;
        EXPECT_EQ(localserver::cookieValue(request, "_hc_session"), sessionCookie());
        if (request.param("x")) {
            EXPECT_EQ(request.param("x"), "&=+");
            EXPECT_EQ(request.param("y"), "\xC3\xBC");
            continue;
        }
        ++structured;
        EXPECT_EQ(request.param("text"), "a&b=c+d %20 \xC3\xBC \xE2\x82\xAC 'q'");
        EXPECT_EQ(request.param("nested[k]"), "=&+");
    }
    EXPECT_EQ(structured, 4);
}

TEST_F(SessionEndToEndTest, LogOutClosesTheUserSessionAndAFailedOneDropsTheDeviceAndCookie)
{
    logIn();
    const std::string cookie = sessionCookie();
    session->logoutUser();
    ASSERT_TRUE(waitForQuietSession());
    EXPECT_EQ(observed, (std::vector<std::string>{"logout:1001", "plain:logout:1001"}));
    EXPECT_EQ(session->currentUser(), nullptr);
    EXPECT_EQ(server->login().session(cookie)->userId, "");
    EXPECT_TRUE(session->createdDeviceSession());
    EXPECT_EQ(sessionCookie(), cookie);

    logIn();
    server->faults().injectFor("DELETE", "xp/sessions", localserver::Fault::reply(500, "broken"));
    session->logoutUser();
    // Queued while logging out; the failed log-out drops the device session,
    // so it registers the device afresh and waits again rather than being lost.
    auto waiting = send("GET", "xp/open", false);
    ASSERT_TRUE(waitUntil([&] { return !waiting->codes.empty(); }));
    EXPECT_EQ(waiting->codes, std::vector<uint32_t>{200});
    EXPECT_EQ(observed, (std::vector<std::string>{"logout:1001", "plain:logout:1001"}));
    EXPECT_EQ(serverPaths(),
              (std::vector<std::string>{"DELETE xp/sessions 500", "POST xp/devices 200", "GET xp/open 200"}));
    EXPECT_NE(sessionCookie(), cookie);
    EXPECT_FALSE(session->createdUserSession());
}

TEST_F(SessionEndToEndTest, LogOutWithoutAUserSessionEndsAtOnceAndLeavesNoChangeRunning)
{
    session->logoutUser();
    EXPECT_EQ(observed, (std::vector<std::string>{"logout:0", "plain:logout:0"}));
    EXPECT_TRUE(session->sessionChangeAllowed());
    EXPECT_EQ(session->currentUser(), nullptr);
    // Nothing went out, and the next request is not held back.
    auto next = send("GET", "xp/open", false, false);
    ASSERT_TRUE(waitUntil([&] { return !next->codes.empty(); }));
    EXPECT_EQ(serverPaths(), std::vector<std::string>{"GET xp/open 200"});
}

TEST_F(SessionEndToEndTest, RefusedRegistrationFailsWaitingRequestsInOrderAndForgetsTheLogIn)
{
    server->faults().injectFor(
        "POST", "xp/devices",
        localserver::Fault::reply(503, "{\"exception\":{\"class\":\"Maintenance\",\"message\":\"later\"}}",
                                  "application/json"));
    session->loginUserId(defaults::kUserId, std::nullopt);
    // B and D need no device; they go to a URL the transport refuses before
    // sending, so their failures come back in the order they were started.
    const std::string root = server->serviceRootUrl();
    std::vector<std::string> journal;
    std::vector<std::shared_ptr<JsonOutcome>> requests;
    for (const auto& [name, method, needsDevice] : std::vector<std::tuple<std::string, std::string, bool>>{
             {"A", "GET", true}, {"B", "PUT", false}, {"C", "POST", true}, {"D", "DELETE", false}}) {
        HCSettings::Instance()->setObject(needsDevice ? root : "ftp://127.0.0.1/", "server-url");
        auto outcome = std::make_shared<JsonOutcome>();
        outcome->journal = &journal;
        outcome->name = name;
        auto request = jsonRequest(method, "xp/echo", outcome);
        request->setRequiresUserSession(false);
        request->setRequiresDeviceSession(needsDevice);
        request->execute();
        requests.push_back(outcome);
    }
    HCSettings::Instance()->setObject(root, "server-url");
    EXPECT_EQ(session->queuedRequestCount(), 4u);
    ASSERT_TRUE(waitUntil([&] { return journal.size() == 4; }));
    // The two that needed the device fail first, in their order; the other
    // two are then started in theirs.
    EXPECT_EQ(journal, (std::vector<std::string>{"A", "C", "B", "D"}));
    EXPECT_EQ(requests[0]->exceptionClass(), "SessionFailure");
    EXPECT_EQ(requests[2]->exceptionClass(), "SessionFailure");
    EXPECT_EQ(requests[1]->exceptionClass(), "ServerException");
    EXPECT_EQ(requests[3]->exceptionClass(), "ServerException");
    EXPECT_EQ(observed, (std::vector<std::string>{"failure:Maintenance", "plain:failure:Maintenance"}));
    EXPECT_EQ(serverPaths(), (std::vector<std::string>{"POST xp/devices 503"}));
    EXPECT_FALSE(session->hasPendingLogin());

    // The next registration succeeds, and the refused log-in does not come back with it.
    auto later = send("GET", "xp/echo", false);
    ASSERT_TRUE(waitUntil([&] { return !later->codes.empty(); }));
    ASSERT_TRUE(waitForQuietSession());
    EXPECT_EQ(serverPaths(), (std::vector<std::string>{"POST xp/devices 503", "POST xp/devices 200", "GET xp/echo 200"}));
    EXPECT_FALSE(session->createdUserSession());
}

TEST_F(SessionEndToEndTest, A401LogsInAgainAndRetriesOnce)
{
    logIn();
    auto outcome = send("GET", "xp/protected");
    ASSERT_TRUE(waitUntil([&] { return !outcome->codes.empty(); }));
    // Retried once after the new log-in; the second 401 is the answer.
    EXPECT_EQ(outcome->codes, std::vector<uint32_t>{401});
    EXPECT_EQ(outcome->exceptionClass(), "SessionExpired");
    EXPECT_EQ(serverPaths(), (std::vector<std::string>{"GET xp/protected 401", "POST bootstrap.xml 200",
                                                       "POST xp/sessions 200", "GET xp/protected 401"}));
    ASSERT_TRUE(waitForQuietSession());

    // Without a known last user the 401 is simply delivered.
    lastLoggedInUserId = "0";
    auto plainOutcome = send("GET", "xp/protected");
    ASSERT_TRUE(waitUntil([&] { return !plainOutcome->codes.empty(); }));
    EXPECT_EQ(plainOutcome->codes, std::vector<uint32_t>{401});
}

TEST_F(SessionEndToEndTest, FailedReLoginAnswersTheRetriedRequestInsteadOfHoldingIt)
{
    logIn();
    server->faults().injectFor("POST", "bootstrap.xml", localserver::Fault::reply(500, "down"));
    auto outcome = send("GET", "xp/protected");
    ASSERT_TRUE(waitUntil([&] { return !outcome->codes.empty(); }));
    EXPECT_EQ(outcome->exceptionClass(), "SessionFailure");
    EXPECT_EQ(outcome->codes, std::vector<uint32_t>{0});
    EXPECT_EQ(observed, (std::vector<std::string>{"failure:nil", "plain:failure:nil"}));
    EXPECT_TRUE(session->sessionChangeAllowed());
    EXPECT_EQ(session->queuedRequestCount(), 0u);
}

TEST_F(SessionEndToEndTest, HandshakeWithoutABootstrapEndsTheLogInAsAFailure)
{
    server->faults().injectFor("POST", "bootstrap.xml",
                               localserver::Fault::reply(200, "<resources><user><id>5</id></user></resources>",
                                                         "application/xml"));
    session->loginUserId(defaults::kUserId, std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !observed.empty(); }));
    EXPECT_EQ(observed, (std::vector<std::string>{"failure:nil", "plain:failure:nil"}));
    EXPECT_TRUE(session->sessionChangeAllowed());
    EXPECT_EQ(serverPaths(), (std::vector<std::string>{"POST xp/devices 200", "POST bootstrap.xml 200"}));
    // The next log-in is not refused as one already running.
    session->loginUserId(defaults::kUserId, std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return session->createdUserSession(); }));
}

TEST_F(SessionEndToEndTest, FailedSecureHandshakeIsReportedAsSslFailure)
{
    session->establishDeviceSession();
    ASSERT_TRUE(waitUntil([&] { return session->createdDeviceSession(); }));
    // The same server spoken to over TLS: the handshake cannot succeed.
    HCSettings::Instance()->setObject("https://127.0.0.1:" + std::to_string(server->port()) + "/", "server-url");
    session->loginUserId(defaults::kUserId, std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return !observed.empty(); }));
    EXPECT_EQ(observed, (std::vector<std::string>{"failure:SSLFailure", "plain:failure:SSLFailure"}));
    EXPECT_TRUE(session->sessionChangeAllowed());
}

TEST_F(SessionEndToEndTest, DeviceRecordsParentalControlsReachEveryOAuthRequest)
{
    HCProviderHooks hooks;
    hooks.parentalControlsEnabled = [this] { return session->parentalControlsEnabled(); };
    HCProvider::setHooks(hooks);
    fence();
    EXPECT_EQ(server->log().entries().back().request.parentalControlsEnabled, "false");

    server->login().setParentalControls(platform::DeviceFacts::uniqueIdentifier(), true);
    session->establishDeviceSession();
    ASSERT_TRUE(waitUntil([&] { return session->createdDeviceSession(); }));
    ASSERT_TRUE(session->currentDevice());
    EXPECT_TRUE(session->parentalControlsEnabled());
    fence();
    EXPECT_EQ(server->log().entries().back().request.parentalControlsEnabled, "true");
    // Not one of the route's own parameters.
    EXPECT_TRUE(server->log().entries().back().request.params.empty());
}

TEST_F(SessionEndToEndTest, TheSessionCookieGoesWithSignedRequestsToTheServiceHostAndNoOther)
{
    session->establishDeviceSession();
    ASSERT_TRUE(waitUntil([&] { return session->createdDeviceSession(); }));
    const std::string cookie = sessionCookie();
    ASSERT_FALSE(cookie.empty());
    fence();
    const auto signedToService = server->log().entries().back().request;
    ASSERT_FALSE(signedToService.oauth.empty());
    EXPECT_EQ(signedToService.header("Cookie"), "_hc_session=" + cookie);

    // The same server by another name is another host to the cookie store.
    std::string otherHost = server->serviceRootUrl();
    otherHost.replace(otherHost.find("127.0.0.1"), 9, "localhost");
    HCSettings::Instance()->setObject(otherHost, "server-url");
    fence();
    EXPECT_EQ(server->log().entries().back().request.header("Cookie"), std::nullopt);
}

TEST_F(SessionEndToEndTest, ASilentServerIsTriedThreeTimesTwentySecondsEachThenReportedAsAServerException)
{
    testsupport::ScopedManualClock clock;
    server->faults().injectFor("GET", "xp/open", localserver::Fault::delayed(std::chrono::seconds(60)), 3);
    auto outcome = send("GET", "xp/open", false, false);
    for (size_t attempt = 1; attempt <= 3; ++attempt) {
        ASSERT_TRUE(server->log().waitForSize(attempt));
        EXPECT_TRUE(outcome->codes.empty());
        clock.advance(HCXPRequest::kTimeOutSeconds + 0.5);
    }
    ASSERT_TRUE(waitUntil([&] { return !outcome->codes.empty(); }));
    EXPECT_EQ(outcome->codes, std::vector<uint32_t>{0});
    EXPECT_EQ(outcome->exceptionClass(), "ServerException");
    auto exception = platform::as<HCServerException>(outcome->json);
    ASSERT_TRUE(exception);
    EXPECT_FALSE(exception->message().empty());
    EXPECT_EQ(server->log().size(), 3u);
}

TEST_F(SessionEndToEndTest, UsedOffTheMainThreadTheSessionReportsAProgrammingError)
{
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&reports](const std::string& text) { reports.push_back(text); });
    auto worker = platform::Thread::start("not-main");
    bool done = false;
    worker->runLoop()->post([&] {
        session->failWithException(nullptr);
        platform::performOnMain([&] { done = true; });
    });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    worker->cancel();
    platform::setProgrammingErrorHandler(nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("failWithException"), std::string::npos);
}

TEST_F(SessionEndToEndTest, ObserversAreHeldWeaklyAndPriorityOnesHearFirst)
{
    auto late = std::make_shared<RecordingSessionObserver>("late:", observed);
    session->addPriorityObserver(late);
    session->addObserver(late);  // in both sets: told twice
    {
        auto gone = std::make_shared<RecordingSessionObserver>("gone:", observed);
        session->addObserver(gone);
    }
    session->removeObserver(priority);
    session->failWithException(nullptr);
    EXPECT_EQ(observed, (std::vector<std::string>{"late:failure:nil", "plain:failure:nil", "late:failure:nil"}));
}

}  // namespace
