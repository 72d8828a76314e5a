#include <gtest/gtest.h>

#include "support/ServerFixture.h"

using namespace localserver;
using namespace localserver_test;

namespace {

Reply whoIsCalling(const Request& req)
{
    return Reply::text(200, "game=" + req.gameId + " user=" + req.userId);
}

// RFC 5849, section 1.2, as sent on the wire (on one line: folded header
// lines are obsolete in HTTP/1.1); the signature is the HMAC of the
// published base string under the published secrets (see OAuthTest).
std::vector<std::string> photosHeaders(const std::string& signature = "0Jku4mu3u%2BvLaSm0xu89p3lmuoM%3D")
{
    return {"Host: photos.example.net",
            "Authorization: OAuth realm=\"Photos\", oauth_consumer_key=\"dpf43f3p2l4k3l03\", "
            "oauth_token=\"nnch734d00sl2jdk\", oauth_signature_method=\"HMAC-SHA1\", "
            "oauth_timestamp=\"137131202\", oauth_nonce=\"chapoH\", oauth_signature=\"" +
                signature + "\""};
}

class ServerAuthTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        addRoutes();
    }

    void addRoutes()
    {
        for (const char* method : {"GET", "POST"}) {
            server->addRoute(method, "mine", Access::User, whoIsCalling);
            server->addRoute(method, "any", Access::Consumer, whoIsCalling);
            server->addRoute(method, "open", Access::Open, whoIsCalling);
        }
        server->addRoute("GET", "photos", Access::User, whoIsCalling);
        server->accounts().addGame(Game{"7", "Photos", "dpf43f3p2l4k3l03", "kd94hf93k423kf44"});
        server->accounts().addUser(User{"42", "Jane"});
        server->accounts().addToken(Token{"nnch734d00sl2jdk", "pfkkd8ucoh0p5y8f", "42"});
    }

    std::string photosUrl(const std::string& query = "file=vacation.jpg&size=original")
    {
        return server->baseUrl() + "photos?" + query;
    }
};

}  // namespace

TEST_F(ServerAuthTest, PublishedPhotosRequestIsAcceptedAsItsUser)
{
    const auto result = httpRequest("GET", photosUrl(), photosHeaders());
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.body, "game=7 user=42");
}

TEST_F(ServerAuthTest, TamperedParameterOrWrongHostIsRefused)
{
    EXPECT_EQ(httpRequest("GET", photosUrl("file=vacation.jpg&size=large"), photosHeaders()).status, 401);
    EXPECT_EQ(httpRequest("GET", photosUrl("size=original&file=vacation.jpg&x=1"), photosHeaders()).status, 401);
    auto otherHost = photosHeaders();
    otherHost[0] = "Host: photos.example.org";
    EXPECT_EQ(httpRequest("GET", photosUrl(), otherHost).status, 401);
    EXPECT_EQ(httpRequest("GET", photosUrl(), photosHeaders("0Jku4mu3u%2BvLaSm0xu89p3lmuoN%3D")).status, 401);
    // Reordering the query changes nothing signed.
    EXPECT_EQ(httpRequest("GET", photosUrl("size=original&file=vacation.jpg"), photosHeaders()).status, 200);
}

TEST_F(ServerAuthTest, TokensDecideBetweenUserAndConsumerRoutes)
{
    EXPECT_EQ(signedRequest("GET", "mine").body, "game=1 user=1001");
    EXPECT_EQ(signedRequest("GET", "any").body, "game=1 user=1001");
    EXPECT_EQ(signedRequest("GET", "any", {}, {}, defaultConsumerCredentials()).body, "game=1 user=");
    EXPECT_EQ(signedRequest("GET", "mine", {}, {}, defaultConsumerCredentials()).status, 401);

    Credentials unknownToken = defaultUserCredentials();
    unknownToken.token = "never-issued";
    EXPECT_EQ(signedRequest("GET", "any", {}, {}, unknownToken).status, 401);
    Credentials wrongTokenSecret = defaultUserCredentials();
    wrongTokenSecret.tokenSecret = "guess";
    EXPECT_EQ(signedRequest("GET", "mine", {}, {}, wrongTokenSecret).status, 401);
    Credentials unknownConsumer = defaultConsumerCredentials();
    unknownConsumer.consumerKey = "someone-else";
    EXPECT_EQ(signedRequest("GET", "any", {}, {}, unknownConsumer).status, 401);

    // A token issued while running works at once.
    const auto issued = server->accounts().issueToken(defaults::kOtherUserId);
    ASSERT_TRUE(issued);
    Credentials fresh{defaults::kProductKey, defaults::kProductSecret, issued->token, issued->secret};
    EXPECT_EQ(signedRequest("GET", "mine", {}, {}, fresh).body, "game=1 user=1002");
}

TEST_F(ServerAuthTest, UnsignedOrMalformedRequestsAreRefusedButOpenRoutesServeAnyone)
{
    EXPECT_EQ(httpRequest("GET", url("any")).status, 401);
    EXPECT_EQ(httpRequest("GET", url("any"), {"Authorization: OAuth oauth_consumer_key=\"x"}).status, 401);
    EXPECT_EQ(httpRequest("GET", url("open")).body, "game= user=");
}

TEST_F(ServerAuthTest, ProtocolParametersMayTravelInTheQuery)
{
    const auto result = signedRequest("GET", "mine", {{"page", "2"}, {"page", "1"}}, {}, defaultUserCredentials(),
                                      Placement::Query);
    EXPECT_EQ(result.body, "game=1 user=1001");
    const auto logged = server->log().entries().back().request;
    EXPECT_EQ(logged.params, (Params{{"page", "2"}, {"page", "1"}}));
    EXPECT_TRUE(firstValue(logged.oauth, "oauth_signature"));
}

TEST_F(ServerAuthTest, FormBodyIsSigned)
{
    const Pairs form = {{"high_scores[][score]", "10"}, {"high_scores[][score]", "20"}, {"note", "a b&c"}};
    EXPECT_EQ(signedRequest("POST", "mine", {{"q", "1"}}, form).status, 200);

    // Signed without the body, sent with it: refused.
    const Pairs oauth = signRequest("POST", url("mine"), {}, defaultUserCredentials());
    const auto unsignedBody =
        httpRequest("POST", url("mine"),
                    {"Authorization: " + authorizationHeader(oauth), "Content-Type: application/x-www-form-urlencoded"},
                    formEncode(form));
    EXPECT_EQ(unsignedBody.status, 401);
}

TEST_F(ServerAuthTest, MultipartPartsAreNotSigned)
{
    const std::string body =
        "--sadf8as9fha3fpaef8ah\r\nContent-Disposition: form-data; name=\"blob_key\"\r\n\r\nk\r\n"
        "--sadf8as9fha3fpaef8ah\r\nContent-Disposition: form-data; name=\"blob\"; filename=\"blob.bin\"\r\n"
        "Content-Type: application/octet-stream\r\nContent-Transfer-Encoding: binary\r\n\r\n\x01\x02\r\n"
        "--sadf8as9fha3fpaef8ah--";
    const std::vector<std::string> contentType = {"Content-Type: multipart/form-data;boundary=sadf8as9fha3fpaef8ah"};
    const auto send = [&](const Pairs& signedParams) {
        auto headers = contentType;
        headers.push_back("Authorization: " +
                          authorizationHeader(signRequest("POST", url("mine"), signedParams, defaultUserCredentials())));
        return httpRequest("POST", url("mine?q=1"), headers, body);
    };
    EXPECT_EQ(send({{"q", "1"}}).status, 200);
    EXPECT_EQ(send({{"q", "1"}, {"blob_key", "k"}}).status, 401);
    EXPECT_EQ(server->log().entries().front().request.param("blob_key"), "k");
}

TEST_F(ServerAuthTest, SignedPathIncludesTheServiceRoot)
{
    ServerOptions options;
    options.root = "/svc/";
    restartWith(options);
    addRoutes();
    EXPECT_EQ(signedRequest("GET", "mine").status, 200);
    // Signed for the path without the root: refused.
    const Pairs oauth = signRequest("GET", server->baseUrl() + "mine", {}, defaultUserCredentials());
    EXPECT_EQ(httpRequest("GET", url("mine"), {"Authorization: " + authorizationHeader(oauth)}).status, 401);
}
