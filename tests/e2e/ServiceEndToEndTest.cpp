// Service actions against the local server over real HTTP: where replies are
// parsed and delivered, what the wire carries, and every kind of failure.
#include <gtest/gtest.h>

#include <chrono>

#include "core/notifications/HCServerNotification.h"
#include "e2e/support/LiveServerTest.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "localserver/Fixtures.h"
#include "platform/net/NetError.h"
#include "support/TestSupport.h"

namespace {

using localserver::Fault;

class ServiceEndToEndTest : public LiveServerTest {
protected:
    std::shared_ptr<HCRequestHandle> getTime(Outcome& outcome)
    {
        return probe->getAction("server_timestamp", nullptr, outcome.success(), outcome.failed(), 0, nullptr);
    }

    // Answers every request on "echo" with one time stamp.
    void addEchoRoutes()
    {
        for (const char* method : {"GET", "POST", "PUT", "DELETE"}) {
            server->addRoute(method, "echo.xml", localserver::Access::User, [](const localserver::Request&) {
                localserver::ResourceList list;
                list.resources.push_back(
                    localserver::resourceNode("server_timestamp", "1", {{"seconds_since_epoch", "5"}}));
                return localserver::Reply::xml(localserver::writeFlatReply(list));
            });
        }
    }
};

TEST_F(ServiceEndToEndTest, ReplyIsParsedOnTheRequestThreadAndDeliveredOnTheMainThread)
{
    server->setClock([] { return std::int64_t{1234}; });
    Outcome outcome;
    armNotice("Clock read");
    ASSERT_TRUE(getTime(outcome));
    ASSERT_TRUE(waitFor(outcome));
    ASSERT_TRUE(outcome.series);
    EXPECT_TRUE(outcome.onMainThread);
    EXPECT_EQ(outcome.series->httpResponseStatusCode(), 200);
    ASSERT_EQ(outcome.series->count(), 1u);
    auto stamp = platform::as<ProbeStamp>(outcome.series->objectAtIndex(0));
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->seconds(), "1234");
    EXPECT_EQ(stamp->filledOn(), provider->requestThread());
    testsupport::drainMain();
    EXPECT_EQ(window->texts(), std::vector<std::string>{"Clock read [ok]"});
}

TEST_F(ServiceEndToEndTest, EmptyOrForeignBodiesGiveEmptySeriesAndCutShortOnesFail)
{
    for (const std::string& body : {std::string(), std::string(" \n"), std::string("<html>maintenance</html>"),
                                    std::string("OK"), std::string("\x89PNG\r\n")}) {
        server->faults().injectFor("GET", "server_timestamp", Fault::reply(200, body));
        Outcome outcome;
        armNotice("Read");
        ASSERT_TRUE(getTime(outcome));
        ASSERT_TRUE(waitFor(outcome));
        ASSERT_TRUE(outcome.series) << body;
        EXPECT_EQ(outcome.series->count(), 0u) << body;
        EXPECT_EQ(outcome.series->httpResponseStatusCode(), 200);
        EXPECT_EQ(outcome.failure, nullptr);
    }
    // Every successful reply, whatever it held, showed the default notice once.
    testsupport::drainMain();
    EXPECT_EQ(window->texts(), std::vector<std::string>(5, "Read [ok]"));

    // A reply that began as XML and stops early is no shorter list: its
    // leading whole stamp is not handed on as the answer.
    const std::string stamp = "<server_timestamp><id>1</id><seconds_since_epoch>5</seconds_since_epoch></server_timestamp>";
    for (const std::string& body : {"<resources>" + stamp + "<server_timest", "<resources>" + stamp}) {
        server->faults().injectFor("GET", "server_timestamp", Fault::reply(200, body));
        Outcome outcome;
        armNotice("Read");
        ASSERT_TRUE(getTime(outcome));
        ASSERT_TRUE(waitFor(outcome));
        EXPECT_EQ(outcome.series, nullptr) << body;
        ASSERT_TRUE(outcome.failure) << body;
        EXPECT_TRUE(outcome.onMainThread);
        EXPECT_EQ(outcome.failure->oauthResponse()->urlResponse()->statusCode(), 200);
        EXPECT_EQ(outcome.failure->data()->toString(), body);
    }
    testsupport::drainMain();
    EXPECT_EQ(window->texts(), std::vector<std::string>(5, "Read [ok]")) << "a refused reply shows no default notice";
}

TEST_F(ServiceEndToEndTest, AByteOrderMarkDoesNotHideACutReplyOrABrokenPage)
{
    const std::string mark = "\xEF\xBB\xBF";
    const std::string stamp = "<server_timestamp><id>1</id><seconds_since_epoch>5</seconds_since_epoch></server_timestamp>";
    // Cut short, or an error page that is no XML document: both fail, as
    // they do without the mark, even behind blanks on either side of it.
    for (const std::string& body : {mark + "<resources>" + stamp + "<server_timest",
                                    mark + "\r\n<html><body><p>Bad gateway<br></body></html>",
                                    " " + mark + "<resources>" + stamp}) {
        server->faults().injectFor("GET", "server_timestamp", Fault::reply(200, body));
        Outcome outcome;
        ASSERT_TRUE(getTime(outcome));
        ASSERT_TRUE(waitFor(outcome));
        EXPECT_EQ(outcome.series, nullptr) << body;
        ASSERT_TRUE(outcome.failure) << body;
        EXPECT_EQ(outcome.failure->data()->toString(), body);
    }
    // A whole document behind the mark reads as it would without it.
    server->faults().injectFor("GET", "server_timestamp", Fault::reply(200, mark + "<resources>" + stamp + "</resources>"));
    Outcome whole;
    ASSERT_TRUE(getTime(whole));
    ASSERT_TRUE(waitFor(whole));
    ASSERT_TRUE(whole.series);
    ASSERT_EQ(whole.series->count(), 1u);
    EXPECT_EQ(platform::as<ProbeStamp>(whole.series->objectAtIndex(0))->seconds(), "5");
}

TEST_F(ServiceEndToEndTest, HttpErrorsReachTheFailureCallbackWithTheirStatus)
{
    for (int status : {404, 503}) {
        server->faults().injectFor("GET", "server_timestamp", Fault::reply(status, "no"));
        Outcome outcome;
        armNotice("Read");
        ASSERT_TRUE(getTime(outcome));
        ASSERT_TRUE(waitFor(outcome));
        EXPECT_EQ(outcome.series, nullptr);
        ASSERT_TRUE(outcome.failure) << status;
        EXPECT_TRUE(outcome.onMainThread);
        ASSERT_TRUE(outcome.failure->oauthResponse()->urlResponse());
        EXPECT_EQ(outcome.failure->oauthResponse()->urlResponse()->statusCode(), status);
        EXPECT_EQ(outcome.failure->error(), nullptr);
        EXPECT_EQ(outcome.failure->data()->toString(), "no");
    }
    testsupport::drainMain();
    EXPECT_TRUE(window->shown.empty()) << "a failed call shows no default notice";
    EXPECT_TRUE(HCNotification::sharedInstance()->defaultBackgroundNotice());
}

TEST_F(ServiceEndToEndTest, ADroppedConnectionOrATimeOutReachesTheFailureCallbackWithTheError)
{
    testsupport::ScopedManualClock clock;
    server->faults().injectFor("GET", "server_timestamp", Fault::dropConnection());
    Outcome dropped;
    ASSERT_TRUE(getTime(dropped));
    ASSERT_TRUE(waitFor(dropped));
    ASSERT_TRUE(dropped.failure && dropped.failure->error());
    EXPECT_EQ(dropped.failure->oauthResponse()->urlResponse(), nullptr);
    EXPECT_EQ(dropped.failure->error()->domain(), platform::kNetErrorDomain);

    // The server holds the reply back (real time, ended by the server's stop).
    server->faults().injectFor("GET", "server_timestamp", Fault::delayed(std::chrono::minutes(5)));
    Outcome late;
    ASSERT_TRUE(getTime(late));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server->log().size() == 2; }));
    EXPECT_FALSE(late.done());
    clock.advance(31);
    ASSERT_TRUE(waitFor(late));
    ASSERT_TRUE(late.failure && late.failure->error());
    EXPECT_EQ(late.failure->error()->code(), platform::kNetErrorTimedOut);
}

TEST_F(ServiceEndToEndTest, ServerNotificationIsTakenOutOfTheListAndShownFirst)
{
    server->injectServerNotification(
        "server_timestamp",
        localserver::serverNotificationNode({{"text", "Tournament tonight"}, {"detail", "8 pm & later"}}));
    Outcome outcome;
    armNotice("Clock read");
    ASSERT_TRUE(getTime(outcome));
    ASSERT_TRUE(waitFor(outcome));
    ASSERT_TRUE(outcome.series);
    ASSERT_EQ(outcome.series->count(), 1u);
    EXPECT_TRUE(platform::as<ProbeStamp>(outcome.series->objectAtIndex(0)));
    testsupport::drainMain();
    // The server's banner replaced the caller's notice.
    EXPECT_EQ(window->texts(), std::vector<std::string>{"Tournament tonight | 8 pm & later [ok]"});
    EXPECT_EQ(HCNotification::sharedInstance()->defaultBackgroundNotice(), nullptr);
}

TEST_F(ServiceEndToEndTest, ParametersTravelInTheOrderWritten)
{
    addEchoRoutes();
    HCHttpNestedQueryStringWriter writer;
    writer.io("zeta", std::string("z & z"));
    {
        HCISerializer::Scope series(&writer, "high_scores", true);
        for (int score : {30, 10, 20}) {
            HCISerializer::Scope element(&writer, "high_score");
            writer.io("score", score);
        }
    }
    writer.io("alpha", std::string("\xC3\xA9t\xC3\xA9"));
    const localserver::Params expected{{"zeta", "z & z"},
                                       {"high_scores[][score]", "30"},
                                       {"high_scores[][score]", "10"},
                                       {"high_scores[][score]", "20"},
                                       {"alpha", "\xC3\xA9t\xC3\xA9"}};

    Outcome get;
    ASSERT_TRUE(probe->getAction("echo.xml", &writer, get.success(), get.failed(), 0, nullptr));
    ASSERT_TRUE(waitFor(get));
    Outcome post;
    ASSERT_TRUE(probe->postAction("echo.xml", &writer, post.success(), post.failed(), 0, nullptr));
    ASSERT_TRUE(waitFor(post));
    Outcome put;
    ASSERT_TRUE(probe->putAction("echo.xml", nullptr, put.success(), put.failed(), 0, nullptr));
    ASSERT_TRUE(waitFor(put));
    Outcome del;
    ASSERT_TRUE(probe->deleteAction("echo.xml", nullptr, del.success(), del.failed(), 0, nullptr));
    ASSERT_TRUE(waitFor(del));

    auto log = server->log().entries();
    ASSERT_EQ(log.size(), 4u);
    for (const auto& entry : log) EXPECT_EQ(entry.status, 200) << entry.request.method;
    EXPECT_EQ(log[0].request.params, expected);
    EXPECT_EQ(log[1].request.method, "POST");
    EXPECT_EQ(log[1].request.params, expected);
    EXPECT_EQ(log[2].request.method, "PUT");
    EXPECT_TRUE(log[2].request.params.empty());
    EXPECT_EQ(log[3].request.method, "DELETE");
    EXPECT_TRUE(log[3].request.params.empty());
    ASSERT_TRUE(post.series);
    EXPECT_EQ(post.series->count(), 1u);
}

}  // namespace
