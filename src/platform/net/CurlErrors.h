#pragma once
// Maps a finished libcurl transfer's result onto the platform-like error
// codes of NetError.h (the table is there).
//
// Thread: any thread.
namespace platform {

// `curlCode` is a CURLcode; `verifyResult` is the TLS library's certificate
// verification result for the transfer (X509_V_OK when none).
int netErrorCodeForCurl(int curlCode, long verifyResult);

}  // namespace platform
