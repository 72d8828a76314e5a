#include "platform/net/NetError.h"

namespace platform {
namespace {
const char* textForCode(int code)
{
    switch (code) {
    case kNetErrorCancelled: return "cancelled";
    case kNetErrorBadURL: return "bad URL";
    case kNetErrorTimedOut: return "The request timed out.";
    case kNetErrorUnsupportedURL: return "unsupported URL";
    case kNetErrorCannotFindHost: return "A server with the specified hostname could not be found.";
    case kNetErrorCannotConnectToHost: return "Could not connect to the server.";
    case kNetErrorNetworkConnectionLost: return "The network connection was lost.";
    case kNetErrorTooManyRedirects: return "too many HTTP redirects";
    case kNetErrorBadServerResponse: return "The server returned a reply that could not be read.";
    case kNetErrorCannotDecodeContentData: return "The reply's content encoding could not be decoded.";
    case kNetErrorDataLengthExceedsMaximum: return "The reply is larger than the request allows.";
    case kNetErrorSecureConnectionFailed:
        return "An SSL error has occurred and a secure connection to the server cannot be made.";
    case kNetErrorServerCertificateHasBadDate: return "The certificate for this server has expired or is not yet valid.";
    case kNetErrorServerCertificateUntrusted: return "The certificate for this server is invalid.";
    default: return "The operation could not be completed.";
    }
}
}  // namespace

std::shared_ptr<NetError> NetError::make(int code)
{
    return std::make_shared<NetError>(kNetErrorDomain, code, textForCode(code));
}

std::string NetError::description() const
{
    return "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" + localizedDescription_ + "\"";
}

}  // namespace platform
