// What a signed request puts on the wire for the service's parameter lists:
// the multipart body byte for byte, and parameters in the order written.
#include <gtest/gtest.h>

#include <string>

#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "transport/oauth/OAuthURLRequest.h"

namespace {

std::string text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(SignedRequestTest, MultipartBodyIsExact)
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

TEST(SignedRequestTest, QueryKeepsTheWriterOrder)
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

}  // namespace
