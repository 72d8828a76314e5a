#include <gtest/gtest.h>

#include "localserver/FormCodec.h"
#include "localserver/Multipart.h"

using namespace localserver;

TEST(FormCodecTest, EncodesEverythingButUnreservedWithUpperCaseHex)
{
    EXPECT_EQ(percentEncode("AZaz09-._~"), "AZaz09-._~");
    EXPECT_EQ(percentEncode("a b+c/d?e=f&g@h%"), "a%20b%2Bc%2Fd%3Fe%3Df%26g%40h%25");
    EXPECT_EQ(percentEncode(std::string("\xC3\xA9\0\xFF", 4)), "%C3%A9%00%FF");
}

TEST(FormCodecTest, DecodesEscapesAndRefusesBrokenOnes)
{
    EXPECT_EQ(percentDecode("a%2Fb%2fc+d", true), "a/b/c d");
    EXPECT_EQ(percentDecode("a+b", false), "a+b");
    EXPECT_EQ(percentDecode("%00", false), std::string(1, '\0'));
    EXPECT_FALSE(percentDecode("%", false));
    EXPECT_FALSE(percentDecode("ab%4", false));
    EXPECT_FALSE(percentDecode("%G1", false));
}

TEST(FormCodecTest, FormKeepsOrderAndDuplicates)
{
    const auto params = parseForm("high_scores%5B%5D%5Bscore%5D=10&b=&high_scores[][score]=20&&c&d=x%3Dy+z");
    ASSERT_TRUE(params);
    const Params expected = {
        {"high_scores[][score]", "10"}, {"b", ""}, {"high_scores[][score]", "20"}, {"c", ""}, {"d", "x=y z"}};
    EXPECT_EQ(*params, expected);
    EXPECT_TRUE(parseForm("")->empty());
    EXPECT_FALSE(parseForm("a=1&b=%zz"));
}

namespace {

const char kBinary[] = "\x00\r\n--not-the-boundary\xFF";
const std::string binaryBytes(kBinary, sizeof kBinary - 1);

// The client's own multipart layout: boundary "sadf8as9fha3fpaef8ah", a text
// part, a file part with content type and transfer encoding, and the close
// delimiter without a trailing line break.
std::string clientStyleBody()
{
    std::string body;
    body += "--sadf8as9fha3fpaef8ah\r\n";
    body += "Content-Disposition: form-data; name=\"blob_upload[key]\"\r\n\r\n";
    body += "v1\r\n";
    body += "--sadf8as9fha3fpaef8ah\r\n";
    body += "Content-Disposition: form-data; name=\"blob\"; filename=\"blob.bin\"\r\n";
    body += "Content-Type: application/octet-stream\r\n";
    body += "Content-Transfer-Encoding: binary\r\n\r\n";
    body += binaryBytes;
    body += "\r\n";
    body += "--sadf8as9fha3fpaef8ah\r\n";
    body += "Content-Disposition: form-data; name=\"blob_upload[key]\"\r\n\r\n";
    body += "v2\r\n";
    body += "--sadf8as9fha3fpaef8ah--";
    return body;
}

}  // namespace

TEST(MultipartTest, ReadsTheClientsLayoutInOrderWithBinaryContent)
{
    const auto boundary = multipartBoundary("multipart/form-data;boundary=sadf8as9fha3fpaef8ah");
    ASSERT_EQ(boundary, "sadf8as9fha3fpaef8ah");
    const auto parts = parseMultipart(clientStyleBody(), *boundary);
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts->size(), 3u);
    EXPECT_EQ((*parts)[0].name, "blob_upload[key]");
    EXPECT_EQ((*parts)[0].bytes, "v1");
    EXPECT_FALSE((*parts)[0].filename);
    EXPECT_EQ((*parts)[1].name, "blob");
    EXPECT_EQ((*parts)[1].filename, "blob.bin");
    EXPECT_EQ((*parts)[1].contentType, "application/octet-stream");
    EXPECT_EQ((*parts)[1].bytes, binaryBytes);
    EXPECT_EQ((*parts)[2].bytes, "v2");
}

TEST(MultipartTest, BoundaryComesFromTheContentTypeOnly)
{
    EXPECT_EQ(multipartBoundary("Multipart/Form-Data; charset=x; boundary=\"a b\""), "a b");
    EXPECT_FALSE(multipartBoundary("multipart/mixed; boundary=x"));
    EXPECT_FALSE(multipartBoundary("multipart/form-data"));
    EXPECT_FALSE(multipartBoundary("multipart/form-data; boundary="));
    EXPECT_FALSE(multipartBoundary("multipart/form-data; boundary=\"open"));
}

TEST(MultipartTest, RefusesBrokenFraming)
{
    const std::string b = "B";
    EXPECT_FALSE(parseMultipart("", b));
    EXPECT_FALSE(parseMultipart("garbage", b));
    // no close delimiter
    EXPECT_FALSE(parseMultipart("--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nv", b));
    // part without a name, part without headers, header line without a colon
    EXPECT_FALSE(parseMultipart("--B\r\nContent-Disposition: form-data\r\n\r\nv\r\n--B--", b));
    EXPECT_FALSE(parseMultipart("--B\r\n\r\nv\r\n--B--", b));
    EXPECT_FALSE(parseMultipart("--B\r\nnonsense\r\n\r\nv\r\n--B--", b));
    // attachment instead of form-data
    EXPECT_FALSE(parseMultipart("--B\r\nContent-Disposition: attachment; name=\"a\"\r\n\r\nv\r\n--B--", b));
    // an empty form and a preamble are fine
    EXPECT_EQ(parseMultipart("--B--", b)->size(), 0u);
    EXPECT_EQ(parseMultipart("preamble\r\n--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nv\r\n--B--", b)
                  ->front()
                  .bytes,
              "v");
}
