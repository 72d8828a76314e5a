#include <gtest/gtest.h>

#include <string>

#include "transport/oauth/OAuthSignatureBaseString.h"
#include "platform/net/PercentEncoding.h"
#include "transport/oauth/OAuthSignatureParameter.h"

// RFC 2202 test cases 1, 2, 3 and 6, as Base64 of the listed digests.
TEST(OAuthSignatureParameter, MatchesTheHmacSha1TestVectors)
{
    EXPECT_EQ(OAuthSignatureParameter::HMAC_SHA1SignatureForText("Hi There", std::string(20, '\x0b')),
              "thcxhlUFcmTii8C2+zeMjvFGvgA=");
    EXPECT_EQ(OAuthSignatureParameter::HMAC_SHA1SignatureForText("what do ya want for nothing?", "Jefe"),
              "7/zfauXrL6LSdBbV8YTfnCWafHk=");
    EXPECT_EQ(OAuthSignatureParameter::HMAC_SHA1SignatureForText(std::string(50, '\xdd'), std::string(20, '\xaa')),
              "El1zQrmsEc2Ro5r0iqF7T2PxddM=");
    EXPECT_EQ(OAuthSignatureParameter::HMAC_SHA1SignatureForText(
                  "Test Using Larger Than Block-Size Key - Hash Key First", std::string(80, '\xaa')),
              "qkrl4VJy0A6VcFY3zoo7Ve1AIRI=");
}

TEST(PercentEncode, KeepsOnlyUnreservedCharacters)
{
    EXPECT_EQ(platform::percentEncode("Ladies + Gentlemen"), "Ladies%20%2B%20Gentlemen");
    EXPECT_EQ(platform::percentEncode("An encoded string!"), "An%20encoded%20string%21");
    EXPECT_EQ(platform::percentEncode("Dogs, Cats & Mice"), "Dogs%2C%20Cats%20%26%20Mice");
    EXPECT_EQ(platform::percentEncode("-._~azAZ09"), "-._~azAZ09");
    EXPECT_EQ(platform::percentEncode("\xE2\x98\x83"), "%E2%98%83");
}

TEST(OAuthSignatureBaseString, MatchesTheWorkedExampleWithQueryAndBodyParameters)
{
    // The request with a query string, form body parameters c2 and a3, and
    // the OAuth protocol parameters (realm excluded).
    OAuthParameterList parameters = {
        {"c2", ""},
        {"a3", "2 q"},
        {"oauth_consumer_key", "9djdj82h48djs9d2"},
        {"oauth_token", "kkk9d7dh3k39sjv7"},
        {"oauth_signature_method", "HMAC-SHA1"},
        {"oauth_timestamp", "137131201"},
        {"oauth_nonce", "7d8f3e4a"},
    };
    std::string base = OAuthSignatureBaseString("POST", "http://example.com/request?b5=%3D%253D&a3=a&c%40=&a2=r%20b",
                                                parameters);
    EXPECT_EQ(base,
              "POST&http%3A%2F%2Fexample.com%2Frequest&a2%3Dr%2520b%26a3%3D2%2520q%26a3%3Da%26b5%3D%253D%25253D%26c%2540%"
              "3D%26c2%3D%26oauth_consumer_key%3D9djdj82h48djs9d2%26oauth_nonce%3D7d8f3e4a%26oauth_signature_method%"
              "3DHMAC-SHA1%26oauth_timestamp%3D137131201%26oauth_token%3Dkkk9d7dh3k39sjv7");
}

TEST(OAuthSignatureBaseString, PhotoRequestExampleSignsWithBothSecrets)
{
    OAuthParameterList parameters = {
        {"oauth_consumer_key", "dpf43f3p2l4k3l03"}, {"oauth_token", "nnch734d00sl2jdk"},
        {"oauth_signature_method", "HMAC-SHA1"},    {"oauth_timestamp", "137131202"},
        {"oauth_nonce", "chapoH"},
    };
    std::string base =
        OAuthSignatureBaseString("GET", "http://photos.example.net/photos?file=vacation.jpg&size=original", parameters);
    EXPECT_EQ(base,
              "GET&http%3A%2F%2Fphotos.example.net%2Fphotos&file%3Dvacation.jpg%26oauth_consumer_key%3Ddpf43f3p2l4k3l03%"
              "26oauth_nonce%3DchapoH%26oauth_signature_method%3DHMAC-SHA1%26oauth_timestamp%3D137131202%26oauth_token%"
              "3Dnnch734d00sl2jdk%26size%3Doriginal");
    // Computed independently with another HMAC implementation.
    EXPECT_EQ(OAuthSignatureParameter::HMAC_SHA1SignatureForText(base, "kd94hf93k423kf44&pfkkd8ucoh0p5y8f"),
              "0Jku4mu3u+vLaSm0xu89p3lmuoM=");
}

TEST(OAuthNormalizedURL, DropsDefaultPortsQueryAndLowerCasesSchemeAndHost)
{
    EXPECT_EQ(OAuthNormalizedURL("HTTP://Example.COM:80/r%20v/X?id=123"), "http://example.com/r%20v/X");
    EXPECT_EQ(OAuthNormalizedURL("https://www.example.net:8080/?q=1"), "https://www.example.net:8080/");
    EXPECT_EQ(OAuthNormalizedURL("https://example.net:443"), "https://example.net/");
    EXPECT_EQ(OAuthNormalizedURL("http://127.0.0.1:4567/api/server_timestamp#frag"),
              "http://127.0.0.1:4567/api/server_timestamp");
}

TEST(OAuthQueryParameters, DecodesPairsAndToleratesMalformedEscapes)
{
    auto params = OAuthQueryParameters("http://h/p?a=1&b=%zz&&c&d=x+y%21");
    ASSERT_EQ(params.size(), 4u);
    EXPECT_EQ(params[1], (std::pair<std::string, std::string>{"b", "%zz"}));
    EXPECT_EQ(params[2], (std::pair<std::string, std::string>{"c", ""}));
    EXPECT_EQ(params[3], (std::pair<std::string, std::string>{"d", "x y!"}));
}
