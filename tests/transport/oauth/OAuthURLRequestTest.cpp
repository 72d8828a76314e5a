#include <gtest/gtest.h>

#include <string>

#include "transport/oauth/OAuthSignatureBaseString.h"
#include "platform/net/PercentEncoding.h"
#include "transport/oauth/OAuthSignatureParameter.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "transport/oauth/OAuthURLRequest.h"

namespace {

std::string text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string headerParameter(const std::string& header, const std::string& name)
{
    auto start = header.find(name + "=\"");
    if (start == std::string::npos) return {};
    start += name.size() + 2;
    return header.substr(start, header.find('"', start) - start);
}

}  // namespace

TEST(OAuthURLRequest, MultipartBodyIsWrittenByteForByte)
{
    std::vector<uint8_t> blob{'P', 'N', 'G', 0, '\r', '\n', 0xff};
    std::vector<URLRequestParameter> parameters{
        URLRequestParameter("key", "slot 1"),
        URLRequestParameter("blob", blob, "png"),
        URLRequestParameter("user_id", "me"),
    };
    std::string expected =
        "--sadf8as9fha3fpaef8ah\r\n"
        "Content-Disposition: form-data; name=\"key\"\r\n"
        "\r\n"
        "slot 1\r\n"
        "--sadf8as9fha3fpaef8ah\r\n"
        "Content-Disposition: form-data; name=\"blob\"; filename=\"blob.png\"\r\n"
        "Content-Type: image/png\r\n"
        "Content-Transfer-Encoding: binary\r\n"
        "\r\n" +
        std::string("PNG\0\r\n\xff", 7) +
        "\r\n"
        "--sadf8as9fha3fpaef8ah\r\n"
        "Content-Disposition: form-data; name=\"user_id\"\r\n"
        "\r\n"
        "me\r\n"
        "--sadf8as9fha3fpaef8ah--";
    EXPECT_EQ(text(OAuthURLRequest::createMultipartFormContent(parameters)), expected);
    EXPECT_EQ(text(OAuthURLRequest::createMultipartFormContent({})), "--sadf8as9fha3fpaef8ah--");
}

TEST(OAuthURLRequest, GetKeepsParameterOrderInTheQueryAndSignsIt)
{
    OAuthURLRequest request("http://127.0.0.1:8080/api/high_scores.xml", {"key", "secret"}, OAuthToken{"tok", "toksecret"});
    request.setParameters({URLRequestParameter("z", "1"), URLRequestParameter("a", "x y&"),
                           URLRequestParameter("high_scores[][score]", "5"),
                           URLRequestParameter("high_scores[][score]", "7")});
    request.setNonceAndTimestamp("nonce", "1700000000");
    auto wire = request.prepare();
    EXPECT_EQ(wire.url,
              "http://127.0.0.1:8080/api/high_scores.xml?z=1&a=x%20y%26&high_scores%5B%5D%5Bscore%5D=5&"
              "high_scores%5B%5D%5Bscore%5D=7");
    EXPECT_TRUE(wire.body.empty());

    auto header = wire.headers.value("Authorization").value_or("");
    ASSERT_EQ(header.rfind("OAuth ", 0), 0u);
    EXPECT_EQ(headerParameter(header, "oauth_token"), "tok");
    // Recompute the signature from what is on the wire.
    OAuthParameterList oauth = {{"oauth_consumer_key", "key"}, {"oauth_nonce", "nonce"},
                                {"oauth_signature_method", "HMAC-SHA1"}, {"oauth_timestamp", "1700000000"},
                                {"oauth_version", "1.0"}, {"oauth_token", "tok"}};
    auto expected = OAuthSignatureParameter::HMAC_SHA1SignatureForText(OAuthSignatureBaseString("GET", wire.url, oauth),
                                                                       "secret&toksecret");
    EXPECT_EQ(headerParameter(header, "oauth_signature"), platform::percentEncode(expected));
}

TEST(OAuthURLRequest, PostSendsAFormBodyThatIsSignedAndMultipartThatIsNot)
{
    OAuthURLRequest form("https://h.example/api/x", {"key", "secret"}, std::nullopt);
    form.setHTTPMethod("POST");
    form.setParameters({URLRequestParameter("name", "Zoë & co")});
    form.setNonceAndTimestamp("n", "1");
    auto wire = form.prepare();
    EXPECT_EQ(text(wire.body), "name=Zo%C3%AB%20%26%20co");
    EXPECT_EQ(wire.headers.value("Content-Type").value_or(""), "application/x-www-form-urlencoded");
    auto header = wire.headers.value("Authorization").value_or("");
    EXPECT_EQ(headerParameter(header, "oauth_token"), "");
    OAuthParameterList signedParams = {{"name", "Zoë & co"}, {"oauth_consumer_key", "key"}, {"oauth_nonce", "n"},
                                       {"oauth_signature_method", "HMAC-SHA1"}, {"oauth_timestamp", "1"},
                                       {"oauth_version", "1.0"}};
    auto expected = OAuthSignatureParameter::HMAC_SHA1SignatureForText(
        OAuthSignatureBaseString("POST", wire.url, signedParams), "secret&");
    EXPECT_EQ(headerParameter(header, "oauth_signature"), platform::percentEncode(expected));

    OAuthURLRequest upload("https://h.example/api/x", {"key", "secret"}, std::nullopt);
    upload.setHTTPMethod("POST");
    upload.setParameters({URLRequestParameter("name", "n"), URLRequestParameter("blob", {1, 2}, "png")});
    auto multipart = upload.prepare();
    EXPECT_EQ(multipart.headers.value("Content-Type").value_or(""),
              "multipart/form-data; boundary=sadf8as9fha3fpaef8ah");
    EXPECT_NE(text(multipart.body).find("Content-Type: image/png\r\n"), std::string::npos);
}

TEST(OAuthURLRequest, ABlobHoldingTheUsualBoundaryGetsAnotherOneForItsRequest)
{
    const std::string usual = OAuthURLRequest::kMultipartBoundary;
    const std::string hostile = "\r\n--" + usual + "\r\nContent-Disposition: form-data; name=\"admin\"\r\n\r\n1";
    OAuthURLRequest upload("https://h.example/api/x", {"key", "secret"}, std::nullopt);
    upload.setHTTPMethod("POST");
    upload.setParameters({URLRequestParameter("blob", std::vector<uint8_t>(hostile.begin(), hostile.end()), "bin"),
                          URLRequestParameter("key", "slot")});
    auto wire = upload.prepare();
    const std::string contentType = wire.headers.value("Content-Type").value_or("");
    const std::string prefix = "multipart/form-data; boundary=";
    ASSERT_EQ(contentType.rfind(prefix, 0), 0u);
    const std::string boundary = contentType.substr(prefix.size());
    EXPECT_NE(boundary, usual);
    EXPECT_LE(boundary.size(), 70u);
    // Two parts and the closing line: the blob splits nothing.
    const std::string body = text(wire.body);
    size_t delimiters = 0;
    for (size_t at = body.find("--" + boundary); at != std::string::npos; at = body.find("--" + boundary, at + 1))
        ++delimiters;
    EXPECT_EQ(delimiters, 3u);
    EXPECT_NE(body.find(hostile), std::string::npos);
}

TEST(OAuthURLRequest, QueryKeepsTheNestedWriterOrder)
{
    HCHttpNestedQueryStringWriter writer;
    writer.io("zeta", std::string("last letter"));
    {
        HCISerializer::Scope series(&writer, "high_scores", true);
        for (int score : {30, 10}) {
            HCISerializer::Scope element(&writer, "high_score");
            writer.io("score", score);
        }
    }
    writer.io("alpha", true);
    OAuthURLRequest request("https://example.test/high_scores.xml", OAuthConsumer{"key", "secret"}, std::nullopt);
    request.setParameters(writer.getQueryParametersAsURLRequestParameters());
    auto wire = request.prepare();
    EXPECT_EQ(wire.url,
              "https://example.test/high_scores.xml?zeta=last%20letter&high_scores%5B%5D%5Bscore%5D=30"
              "&high_scores%5B%5D%5Bscore%5D=10&alpha=1");
    EXPECT_TRUE(wire.body.empty());
}

// The exact bytes signing produced before it was made to encode each piece
// once and keep its HMAC context: any drift in the fast path shows here. The
// four requests sign with three different keys in turn, so a kept context
// that were not re-keyed would sign with a stale secret; the first is
// signed twice, so a remembered URL that went stale would show too.
TEST(OAuthURLRequest, SignedBytesStayTheSameForAFixedNonceAndTimestamp)
{
    const std::vector<URLRequestParameter> hostile{
        URLRequestParameter("name", "Zo\xC3\xAB & co+1=2%41"), URLRequestParameter("high_scores[][score]", "5"),
        URLRequestParameter("a", ""), URLRequestParameter("a", "~-._ /?#")};
    const std::string hostileForm =
        "name=Zo%C3%AB%20%26%20co%2B1%3D2%2541&high_scores%5B%5D%5Bscore%5D=5&a=&a=~-._%20%2F%3F%23";
    auto prepared = [](OAuthURLRequest& request) {
        request.setNonceAndTimestamp("4F1C3A2B-9D8E-4C7B-A6F5-0E1D2C3B4A59", "1767225600");
        return request.prepare();
    };
    auto oauthHeader = [](const std::string& consumerKey, const char* token, const std::string& signature) {
        return "OAuth realm=\"\", oauth_consumer_key=\"" + consumerKey +
               "\", oauth_nonce=\"4F1C3A2B-9D8E-4C7B-A6F5-0E1D2C3B4A59\", oauth_signature_method=\"HMAC-SHA1\", "
               "oauth_timestamp=\"1767225600\", oauth_version=\"1.0\", " +
               (token ? "oauth_token=\"" + std::string(token) + "\", " : std::string()) + "oauth_signature=\"" +
               signature + "\"";
    };

    OAuthURLRequest form("HTTPS://Api.Example.COM:443/v1/x.xml?b=2&a=%41+b&c", {"ck&1", "cs %secret"},
                         OAuthToken{"tk", "ts/+="});
    form.setHTTPMethod("POST");
    form.setParameters(hostile);
    for (int time = 0; time < 2; ++time) {
        auto wire = prepared(form);
        EXPECT_EQ(wire.url, "HTTPS://Api.Example.COM:443/v1/x.xml?b=2&a=%41+b&c");
        EXPECT_EQ(text(wire.body), hostileForm);
        EXPECT_EQ(wire.headers.value("Content-Type").value_or(""), "application/x-www-form-urlencoded");
        EXPECT_EQ(wire.headers.value("Authorization").value_or(""),
                  oauthHeader("ck%261", "tk", "j4S4byYg%2FgnwYvTPbY08x2G4JIA%3D"));
    }

    OAuthURLRequest get("http://127.0.0.1:8080/api/hs.xml?q=1", {"ck", "cs"}, OAuthToken{"tk", "ts"});
    get.setParameters(hostile);
    auto getWire = prepared(get);
    EXPECT_EQ(getWire.url, "http://127.0.0.1:8080/api/hs.xml?q=1&" + hostileForm);
    EXPECT_TRUE(getWire.body.empty());
    EXPECT_EQ(getWire.headers.value("Authorization").value_or(""),
              oauthHeader("ck", "tk", "CldcOyc0bg0s2cG2B5afS2A4%2FU4%3D"));

    OAuthURLRequest consumerOnly("http://127.0.0.1:8080/api/hs.xml", {"ck", "cs"}, std::nullopt);
    consumerOnly.setHTTPMethod("DELETE");
    EXPECT_EQ(prepared(consumerOnly).headers.value("Authorization").value_or(""),
              oauthHeader("ck", nullptr, "DJO%2BHrxqcWK1ZUcOnwz0Q9pYD9M%3D"));

    OAuthURLRequest upload("http://h.example:8081/up", {"ck", "cs"}, OAuthToken{"tk", "ts"});
    upload.setHTTPMethod("PUT");
    upload.setParameters({URLRequestParameter("n", "v w"), URLRequestParameter("blob", std::vector<uint8_t>{1, 2}, "png")});
    auto uploadWire = prepared(upload);
    EXPECT_EQ(uploadWire.headers.value("Authorization").value_or(""),
              oauthHeader("ck", "tk", "rbBx7Yp7Xtckhd07ebps41EZzwk%3D"));
    EXPECT_EQ(text(uploadWire.body), text(OAuthURLRequest::createMultipartFormContent(upload.parameters())));
}
