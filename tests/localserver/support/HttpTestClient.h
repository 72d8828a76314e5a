#pragma once
// A blocking libcurl request for the local server's tests. Any thread.
#include <curl/curl.h>

#include <string>
#include <vector>

namespace localserver_test {

struct HttpResult {
    CURLcode code = CURLE_OK;  // CURLE_GOT_NOTHING when the server closed without a reply
    long status = 0;
    std::string body;
    std::vector<std::string> headerLines;  // the reply's header lines, without line ends

    // The value of the first header line of that name (compared without case).
    std::string header(const std::string& name) const;
};

// `headers` are full header lines ("Host: example.com"). The time-out is
// only an upper bound against hangs unless a test says otherwise.
HttpResult httpRequest(const std::string& method, const std::string& url, const std::vector<std::string>& headers = {},
                       const std::string& body = {}, long timeoutMs = 10000);

}  // namespace localserver_test
