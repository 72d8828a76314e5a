#pragma once
// The error object of a transfer that got no HTTP reply: a domain, an integer
// code and a text for the player.
//
// The codes follow the handheld platform's URL-loading codes so that code
// written against them (the session's test for -1200/-1201/-1202, say) reads
// the same here. How libcurl's outcomes map onto them is in CurlErrors.cpp.
//
//   code   | meaning                          | libcurl outcome
//   -------+----------------------------------+-------------------------------------------
//   -1     | unknown                          | anything not listed below
//   -999   | cancelled                        | (never delivered: a cancelled transfer is silent)
//   -1000  | bad URL                          | URL_MALFORMAT
//   -1001  | timed out                        | our Clock-based time-out; OPERATION_TIMEDOUT
//   -1002  | unsupported URL                  | a scheme other than http and https (checked before sending)
//   -1003  | cannot find host                 | COULDNT_RESOLVE_HOST, COULDNT_RESOLVE_PROXY
//   -1004  | cannot connect to host           | COULDNT_CONNECT
//   -1005  | network connection lost          | SEND_ERROR, RECV_ERROR, PARTIAL_FILE, GOT_NOTHING, HTTP2*
//   -1007  | too many redirects               | more than 16 redirects followed
//   -1011  | bad server response              | WEIRD_SERVER_REPLY, UNSUPPORTED_PROTOCOL (an unreadable status line)
//   -1016  | cannot decode content data       | BAD_CONTENT_ENCODING
//   -1103  | data length exceeds maximum      | a reply body over the request's maxBodyBytes
//   -1200  | secure connection failed         | SSL_CONNECT_ERROR and the other TLS failures
//   -1201  | certificate has a bad date       | PEER_FAILED_VERIFICATION, expired or not yet valid
//   -1202  | certificate untrusted            | PEER_FAILED_VERIFICATION otherwise, SSL_ISSUER_ERROR,
//          |                                  | SSL_PINNEDPUBKEYNOTMATCH, SSL_INVALIDCERTSTATUS
//
// Thread: immutable; any thread.
#include <memory>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

inline constexpr const char* kNetErrorDomain = "NSURLErrorDomain";

enum NetErrorCode : int {
    kNetErrorUnknown = -1,
    kNetErrorCancelled = -999,
    kNetErrorBadURL = -1000,
    kNetErrorTimedOut = -1001,
    kNetErrorUnsupportedURL = -1002,
    kNetErrorCannotFindHost = -1003,
    kNetErrorCannotConnectToHost = -1004,
    kNetErrorNetworkConnectionLost = -1005,
    kNetErrorTooManyRedirects = -1007,
    kNetErrorBadServerResponse = -1011,
    kNetErrorCannotDecodeContentData = -1016,
    kNetErrorDataLengthExceedsMaximum = -1103,
    kNetErrorSecureConnectionFailed = -1200,
    kNetErrorServerCertificateHasBadDate = -1201,
    kNetErrorServerCertificateUntrusted = -1202,
};

class NetError final : public Object {
public:
    NetError(std::string domain, int code, std::string localizedDescription)
        : domain_(std::move(domain)), code_(code), localizedDescription_(std::move(localizedDescription))
    {
    }
    // An error of kNetErrorDomain with the standard text for the code.
    static std::shared_ptr<NetError> make(int code);

    const std::string& domain() const { return domain_; }
    int code() const { return code_; }
    const std::string& localizedDescription() const { return localizedDescription_; }
    std::string description() const override;

private:
    std::string domain_;
    int code_;
    std::string localizedDescription_;
};

using NetErrorPtr = std::shared_ptr<NetError>;

}  // namespace platform
