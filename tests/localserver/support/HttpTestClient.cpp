#include "support/HttpTestClient.h"

#include <strings.h>

namespace localserver_test {

namespace {

size_t collect(char* data, size_t size, size_t count, void* out)
{
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

size_t collectHeader(char* data, size_t size, size_t count, void* out)
{
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    if (!line.empty()) {
        static_cast<std::vector<std::string>*>(out)->push_back(line);
    }
    return size * count;
}

}  // namespace

std::string HttpResult::header(const std::string& name) const
{
    for (const auto& line : headerLines) {
        const auto colon = line.find(':');
        if (colon != name.size() || strncasecmp(line.c_str(), name.c_str(), name.size()) != 0) {
            continue;
        }
        const auto start = line.find_first_not_of(' ', colon + 1);
        return start == std::string::npos ? std::string() : line.substr(start);
    }
    return {};
}

HttpResult httpRequest(const std::string& method, const std::string& url, const std::vector<std::string>& headers,
                       const std::string& body, long timeoutMs)
{
    HttpResult result;
    CURL* curl = curl_easy_init();
    if (curl == nullptr) {
        result.code = CURLE_FAILED_INIT;
        return result;
    }
    curl_slist* list = nullptr;
    for (const auto& line : headers) {
        list = curl_slist_append(list, line.c_str());
    }
    // No "Expect: 100-continue" round trip for larger bodies.
    list = curl_slist_append(list, "Expect:");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, collectHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &result.headerLines);
    if (method == "GET") {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    }
    result.code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    curl_slist_free_all(list);
    curl_easy_cleanup(curl);
    return result;
}

}  // namespace localserver_test
