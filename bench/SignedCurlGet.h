#pragma once
// The raw side of the round-trip benchmarks: one GET signed by hand
// (HandWrittenSigner.h) on a reused libcurl easy handle.
#include <curl/curl.h>

#include <string>
#include <utility>
#include <vector>

#include "HandWrittenSigner.h"

namespace bench {

// True when the GET came back 200.
inline bool performSignedGet(CURL* curl, const HandWrittenSigner& signer, const std::string& url,
                             const std::vector<std::pair<std::string, std::string>>& parameters = {})
{
    const SignedParts parts = signer.sign("GET", url, parameters);
    curl_slist* headers = curl_slist_append(nullptr, ("Authorization: " + parts.authorization).c_str());
    curl_easy_setopt(curl, CURLOPT_URL, parts.url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    long status = 0;
    const bool ok = curl_easy_perform(curl) == CURLE_OK &&
                    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status == 200;
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(headers);
    return ok;
}

}  // namespace bench
