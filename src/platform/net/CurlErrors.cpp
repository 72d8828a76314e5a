#include "platform/net/CurlErrors.h"

#include <curl/curl.h>
#include <openssl/x509_vfy.h>

#include "platform/net/NetError.h"

namespace platform {

int netErrorCodeForCurl(int curlCode, long verifyResult)
{
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_URL_MALFORMAT: return kNetErrorBadURL;
    case CURLE_OPERATION_TIMEDOUT: return kNetErrorTimedOut;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY: return kNetErrorCannotFindHost;
    case CURLE_COULDNT_CONNECT: return kNetErrorCannotConnectToHost;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM: return kNetErrorNetworkConnectionLost;
    case CURLE_TOO_MANY_REDIRECTS: return kNetErrorTooManyRedirects;
    // The transport checks the URL's scheme before sending, so libcurl's
    // "unsupported protocol" can only mean a reply that is not HTTP/1.x or 2.
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY: return kNetErrorBadServerResponse;
    case CURLE_BAD_CONTENT_ENCODING: return kNetErrorCannotDecodeContentData;
    case CURLE_PEER_FAILED_VERIFICATION:
        if (verifyResult == X509_V_ERR_CERT_HAS_EXPIRED || verifyResult == X509_V_ERR_CERT_NOT_YET_VALID)
            return kNetErrorServerCertificateHasBadDate;
        return kNetErrorServerCertificateUntrusted;
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS: return kNetErrorServerCertificateUntrusted;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CLIENTCERT: return kNetErrorSecureConnectionFailed;
    default: return kNetErrorUnknown;
    }
}

}  // namespace platform
