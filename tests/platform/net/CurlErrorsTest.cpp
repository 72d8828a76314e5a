#include <curl/curl.h>
#include <gtest/gtest.h>
#include <openssl/x509_vfy.h>

#include "platform/net/CurlErrors.h"
#include "platform/net/NetError.h"

using namespace platform;

TEST(CurlErrors, CertificateFailuresSplitIntoBadDateAndUntrusted)
{
    EXPECT_EQ(netErrorCodeForCurl(CURLE_PEER_FAILED_VERIFICATION, X509_V_ERR_CERT_NOT_YET_VALID), -1201);
    EXPECT_EQ(netErrorCodeForCurl(CURLE_PEER_FAILED_VERIFICATION, X509_V_ERR_HOSTNAME_MISMATCH), -1202);
}
