// What signing a service request costs over the HMAC-SHA1 at its heart:
// OAuthURLRequest::prepare (parameters, base string, signature, header) of a
// typical score submission against raw OpenSSL HMAC-SHA1 plus Base64 over the
// same base string.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "transport/oauth/OAuthSignatureBaseString.h"
#include "platform/net/PercentEncoding.h"
#include "transport/oauth/OAuthURLRequest.h"

namespace {

const char* const kUrl = "https://api.halcyon.example/client_applications/@me/high_scores.xml";
const OAuthConsumer kConsumer{"bench-product-key", "bench-product-secret"};
const OAuthToken kToken{"bench-user-token", "bench-user-token-secret"};
const char* const kNonce = "7C9E0A1B-2F3D-4E5F-8091-A2B3C4D5E6F7";
const char* const kTimestamp = "1767225600";

std::vector<URLRequestParameter> parameters()
{
    std::vector<URLRequestParameter> list;
    for (int i = 0; i < 4; ++i) {
        list.emplace_back("high_scores[][score]", std::to_string(1000 + i));
        list.emplace_back("high_scores[][leaderboard_id]", "4711");
        list.emplace_back("high_scores[][display_text]", std::to_string(1000 + i) + " points & 3 stars");
    }
    return list;
}

void BM_OAuthURLRequestPrepare(benchmark::State& state)
{
    OAuthURLRequest request(kUrl, kConsumer, kToken);
    request.setHTTPMethod("POST");
    request.setParameters(parameters());
    request.setNonceAndTimestamp(kNonce, kTimestamp);
    for (auto _ : state) {
        platform::URLRequest wire = request.prepare();
        benchmark::DoNotOptimize(wire.headers.size());
    }
}
BENCHMARK(BM_OAuthURLRequestPrepare)->Unit(benchmark::kMicrosecond);

void BM_RawOpenSSLHmacSha1(benchmark::State& state)
{
    OAuthParameterList signedParameters;
    for (const auto& p : parameters()) signedParameters.emplace_back(p.name(), p.value());
    signedParameters.insert(signedParameters.end(), {{"oauth_consumer_key", kConsumer.key},
                                                     {"oauth_nonce", kNonce},
                                                     {"oauth_signature_method", "HMAC-SHA1"},
                                                     {"oauth_timestamp", kTimestamp},
                                                     {"oauth_version", "1.0"},
                                                     {"oauth_token", kToken.key}});
    const std::string base = OAuthSignatureBaseString("POST", kUrl, signedParameters);
    const std::string key = platform::percentEncode(kConsumer.secret) + "&" + platform::percentEncode(kToken.secret);
    for (auto _ : state) {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()), reinterpret_cast<const unsigned char*>(base.data()),
             base.size(), digest, &length);
        unsigned char encoded[4 * ((EVP_MAX_MD_SIZE + 2) / 3) + 1];
        int written = EVP_EncodeBlock(encoded, digest, static_cast<int>(length));
        benchmark::DoNotOptimize(written);
    }
}
BENCHMARK(BM_RawOpenSSLHmacSha1)->Unit(benchmark::kMicrosecond);


}  // namespace

int main(int argc, char** argv)
{
    RatioReporter reporter("BM_OAuthURLRequestPrepare", "BM_RawOpenSSLHmacSha1",
                           "signed request of " + std::to_string(parameters().size()) + " parameters: prepare / raw HMAC");
    return runBenchmarksWithRatio(argc, argv, reporter);
}
