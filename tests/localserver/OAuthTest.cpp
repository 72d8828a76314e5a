#include <gtest/gtest.h>

#include "localserver/Accounts.h"
#include "localserver/FormCodec.h"
#include "localserver/OAuth.h"
#include "support/TestSigner.h"

using namespace localserver;

namespace {

// RFC 5849, section 1.2: the photo request signed with the token credentials
// (consumer secret "kd94hf93k423kf44", token secret "pfkkd8ucoh0p5y8f").
// HMAC-SHA1 of its base string under those secrets, computed outside this
// code base with `openssl dgst -sha1 -hmac 'kd94hf93k423kf44&pfkkd8ucoh0p5y8f'
// -binary | base64`.
const char kPhotosSignature[] = "0Jku4mu3u+vLaSm0xu89p3lmuoM=";

Params photosParams()
{
    return {{"file", "vacation.jpg"},
            {"size", "original"},
            {"oauth_consumer_key", "dpf43f3p2l4k3l03"},
            {"oauth_token", "nnch734d00sl2jdk"},
            {"oauth_signature_method", "HMAC-SHA1"},
            {"oauth_timestamp", "137131202"},
            {"oauth_nonce", "chapoH"},
            {"oauth_signature", kPhotosSignature}};
}

void addPhotosAccounts(Accounts& accounts)
{
    accounts.addGame(Game{"7", "Photos", "dpf43f3p2l4k3l03", "kd94hf93k423kf44"});
    accounts.addUser(User{"42", "Jane"});
    accounts.addToken(Token{"nnch734d00sl2jdk", "pfkkd8ucoh0p5y8f", "42"});
}

Params replaced(Params params, const std::string& name, const std::string& value)
{
    for (auto& pair : params) {
        if (pair.first == name) {
            pair.second = value;
        }
    }
    return params;
}

}  // namespace

TEST(OAuthTest, BaseStringOfTheWorkedExampleWithQueryBodyAndHeader)
{
    // RFC 5849, section 3.4.1.1: parameters arrive in the query (with
    // escaped "=" and "%"), the form body ("c2" has no value, "+" is a
    // space) and the Authorization header (whose realm is not signed).
    Params all = *parseForm("b5=%3D%253D&a3=a&c%40=&a2=r%20b");
    const Params body = *parseForm("c2&a3=2+q");
    all.insert(all.end(), body.begin(), body.end());
    const auto header = oauth::parseAuthorizationHeader(
        "OAuth realm=\"Example\",\r\n   oauth_consumer_key=\"9djdj82h48djs9d2\",\r\n"
        "   oauth_token=\"kkk9d7dh3k39sjv7\",\r\n   oauth_signature_method=\"HMAC-SHA1\",\r\n"
        "   oauth_timestamp=\"137131201\",\r\n   oauth_nonce=\"7d8f3e4a\",\r\n"
        "   oauth_signature=\"bYT5CMsGcbgUdFHObYMEfcx6bsw%3D\"");
    ASSERT_TRUE(header);
    EXPECT_FALSE(firstValue(*header, "realm"));
    EXPECT_EQ(firstValue(*header, "oauth_signature"), "bYT5CMsGcbgUdFHObYMEfcx6bsw=");
    all.insert(all.end(), header->begin(), header->end());

    EXPECT_EQ(oauth::normalizedParameters(all),
              "a2=r%20b&a3=2%20q&a3=a&b5=%3D%253D&c%40=&c2=&oauth_consumer_key=9djdj82h48djs9d2&oauth_nonce=7d8f3e4a&"
              "oauth_signature_method=HMAC-SHA1&oauth_timestamp=137131201&oauth_token=kkk9d7dh3k39sjv7");
    EXPECT_EQ(oauth::signatureBaseString("POST", oauth::baseStringUri("http", "example.com", "/request"), all),
              "POST&http%3A%2F%2Fexample.com%2Frequest&a2%3Dr%2520b%26a3%3D2%2520q%26a3%3Da%26b5%3D%253D%25253D%26"
              "c%2540%3D%26c2%3D%26oauth_consumer_key%3D9djdj82h48djs9d2%26oauth_nonce%3D7d8f3e4a%26"
              "oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp%3D137131201%26oauth_token%3Dkkk9d7dh3k39sjv7");
}

TEST(OAuthTest, TestSignerAgreesWithThePhotosExample)
{
    // The tests' own signer must produce the published signature before
    // any server test may trust it.
    const auto oauthParams = localserver_test::signRequest(
        "GET", "http://photos.example.net/photos", {{"file", "vacation.jpg"}, {"size", "original"}},
        {"dpf43f3p2l4k3l03", "kd94hf93k423kf44", "nnch734d00sl2jdk", "pfkkd8ucoh0p5y8f"}, "chapoH", "137131202");
    EXPECT_EQ(firstValue(Params(oauthParams.begin(), oauthParams.end()), "oauth_signature"), kPhotosSignature);
}

TEST(OAuthTest, VersionMayBeAbsentOrOnePointZeroOnly)
{
    Accounts accounts;
    addPhotosAccounts(accounts);
    const localserver_test::Credentials credentials{"dpf43f3p2l4k3l03", "kd94hf93k423kf44", "", ""};
    for (const auto& [version, accepted] : {std::pair{"1.0", true}, std::pair{"2.0", false}}) {
        const localserver_test::Pairs query = {{"oauth_version", version}};
        const auto oauthParams = localserver_test::signRequest("GET", "http://h/t", query, credentials);
        Params signedParams(oauthParams.begin(), oauthParams.end());
        signedParams.emplace_back("oauth_version", version);
        EXPECT_EQ(oauth::verify(accounts, "GET", "http://h/t", signedParams, false).ok, accepted) << version;
    }
}

TEST(OAuthTest, BaseStringUriNormalisesSchemeHostAndDefaultPorts)
{
    // RFC 5849, section 3.4.1.2.
    EXPECT_EQ(oauth::baseStringUri("HTTP", "EXAMPLE.COM:80", "/r%20v/X"), "http://example.com/r%20v/X");
    EXPECT_EQ(oauth::baseStringUri("https", "www.example.net:8080", "/"), "https://www.example.net:8080/");
    EXPECT_EQ(oauth::baseStringUri("https", "www.example.net:443", "/a"), "https://www.example.net/a");
    EXPECT_EQ(oauth::baseStringUri("http", "127.0.0.1:8080", "/Path"), "http://127.0.0.1:8080/Path");
    EXPECT_EQ(oauth::baseStringUri("http", "h", ""), "http://h/");
}

TEST(OAuthTest, NormalisationSortsByEncodedNameThenValue)
{
    const Params params = {{"b", "2"}, {"a", "z"}, {"a-b", "1"}, {"a", "y"}, {"a b", "x"}, {"oauth_signature", "s"}};
    EXPECT_EQ(oauth::normalizedParameters(params), "a=y&a=z&a%20b=x&a-b=1&b=2");
}

TEST(OAuthTest, AuthorizationHeaderParsing)
{
    EXPECT_EQ(*oauth::parseAuthorizationHeader("oauth a=\"1\",b=\"%7E%20\""), (Params{{"a", "1"}, {"b", "~ "}}));
    EXPECT_TRUE(oauth::parseAuthorizationHeader("OAuth")->empty());
    EXPECT_FALSE(oauth::parseAuthorizationHeader("Basic dXNlcjpwYXNz"));
    EXPECT_FALSE(oauth::parseAuthorizationHeader("OAuthx a=\"1\""));
    EXPECT_FALSE(oauth::parseAuthorizationHeader("OAuth a=1"));
    EXPECT_FALSE(oauth::parseAuthorizationHeader("OAuth a=\"1\" b=\"2\""));
    EXPECT_FALSE(oauth::parseAuthorizationHeader("OAuth a=\"1"));
    EXPECT_FALSE(oauth::parseAuthorizationHeader("OAuth a=\"%zz\""));
    EXPECT_FALSE(oauth::parseAuthorizationHeader("OAuth =\"1\""));
}

TEST(OAuthTest, VerifyRefusesEveryDeviation)
{
    Accounts accounts;
    addPhotosAccounts(accounts);
    const std::string uri = "http://photos.example.net/photos";
    const auto refused = [&](const Params& params, const std::string& method = "GET",
                             const std::string& at = "http://photos.example.net/photos") {
        return !oauth::verify(accounts, method, at, params, true).ok;
    };
    EXPECT_TRUE(refused(replaced(photosParams(), "size", "large")));
    EXPECT_TRUE(refused(photosParams(), "POST"));
    EXPECT_TRUE(refused(photosParams(), "GET", "http://photos.example.net/photos2"));
    EXPECT_TRUE(refused(replaced(photosParams(), "oauth_signature", "MdpQcU8iPSUjWoN/UDMsK2sui9J=")));
    EXPECT_TRUE(refused(replaced(photosParams(), "oauth_token", "unknown-token")));
    EXPECT_TRUE(refused(replaced(photosParams(), "oauth_consumer_key", "unknown-key")));
    EXPECT_TRUE(refused(replaced(photosParams(), "oauth_signature_method", "PLAINTEXT")));
    Params extra = photosParams();
    extra.emplace_back("file", "other.jpg");
    EXPECT_TRUE(refused(extra));
    Params repeated = photosParams();
    repeated.emplace_back("oauth_nonce", "chapoH");
    EXPECT_TRUE(refused(repeated));
    Params unsigned_ = photosParams();
    std::erase_if(unsigned_, [](const auto& p) { return p.first == "oauth_signature"; });
    EXPECT_TRUE(refused(unsigned_));
    Params noNonce = photosParams();
    std::erase_if(noNonce, [](const auto& p) { return p.first == "oauth_nonce"; });
    EXPECT_TRUE(refused(noNonce));

    // Same request, wrong consumer secret on file.
    accounts.addGame(Game{"7", "Photos", "dpf43f3p2l4k3l03", "wrong-secret"});
    EXPECT_TRUE(refused(photosParams()));
}

TEST(OAuthTest, ConsumerOnlyRequestsPassOnlyWhenNoUserIsNeeded)
{
    Accounts accounts;
    addPhotosAccounts(accounts);
    const auto params = localserver_test::signRequest("GET", "http://h/t", {{"q", "1"}},
                                                      {"dpf43f3p2l4k3l03", "kd94hf93k423kf44", "", ""});
    Params signedParams(params.begin(), params.end());
    signedParams.emplace_back("q", "1");
    const auto consumerOnly = oauth::verify(accounts, "GET", "http://h/t", signedParams, false);
    EXPECT_TRUE(consumerOnly.ok) << consumerOnly.reason;
    EXPECT_EQ(consumerOnly.userId, "");
    EXPECT_FALSE(oauth::verify(accounts, "GET", "http://h/t", signedParams, true).ok);
}
