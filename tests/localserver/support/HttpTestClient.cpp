#include "support/HttpTestClient.h"

namespace localserver_test {

namespace {

size_t collect(char* data, size_t size, size_t count, void* out)
{
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

}  // namespace

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
