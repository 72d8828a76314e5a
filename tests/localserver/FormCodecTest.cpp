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

// The client's own layout, binary parts included, is read over the wire in ServerTest.
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
