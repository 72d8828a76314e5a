#pragma once
// What a transfer sends and what it gets back.
//
// Thread: plain values; owned by one thread at a time.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/HttpHeaders.h"
#include "platform/net/NetError.h"

namespace platform {

struct URLRequest {
    // No reply the client reads comes near this; a request that expects a
    // larger body sets its own maxBodyBytes.
    static constexpr std::size_t kDefaultMaxBodyBytes = 2u * 1024u * 1024u;
    // Five minutes: the longest the client's largest transfers (stored
    // blobs over a slow mobile link) may reasonably take; the service's own
    // requests set shorter ones.
    static constexpr double kDefaultDeadlineSeconds = 300;

    struct Credentials {
        std::string user;
        std::string password;
    };

    std::string url;
    std::string method = "GET";
    HttpHeaders headers;
    std::vector<uint8_t> body;
    // Seconds without any bytes moving, measured on platform::Clock, after
    // which the transfer fails with kNetErrorTimedOut. 0 or less: no time-out.
    double timeoutSeconds = 0;
    // Seconds from the start, measured on platform::Clock, after which the
    // transfer fails with kNetErrorTimedOut however its bytes move: a reply
    // that trickles in keeps the idle time-out away, not this. Redirects
    // count within it. 0 or less: no deadline.
    double deadlineSeconds = kDefaultDeadlineSeconds;
    // Send matching cookies of the shared CookieStore and record the reply's.
    bool useCookies = true;
    // HTTP basic authentication, sent only to the request's own origin.
    std::optional<Credentials> credentials;
    // The largest reply body taken (as delivered, after content decoding);
    // a larger one fails the transfer with kNetErrorDataLengthExceedsMaximum
    // as soon as it is announced or received.
    std::size_t maxBodyBytes = kDefaultMaxBodyBytes;
};

struct URLResponse {
    std::string url;  // after the redirects that were followed
    int statusCode = 0;
    HttpHeaders headers;
    std::vector<uint8_t> body;
};

// Exactly one outcome: an HTTP reply (any status) or an error.
struct URLResult {
    URLResponse response;
    NetErrorPtr error;
    bool isReply() const { return !error; }
};

}  // namespace platform
