// Both sides: sign one 12-parameter POST afresh (OAuthURLRequest::prepare | hand-written signer | bare HMAC).
//
// Both sides sign the same score submission (12 form parameters, POST) with a
// fresh nonce and timestamp each time, producing the same Authorization header
// and form body byte for byte (checked once, with both fixed, before timing):
// OAuthURLRequest::prepare against the hand-written OpenSSL signer of
// HandWrittenSigner.h; the bare HMAC-SHA1 plus Base64 over a ready base string
// is the floor line.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstdio>
#include <string>
#include <vector>

#include "HandWrittenSigner.h"
#include "BenchCommandLine.h"
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
    for (auto _ : state) {
        platform::URLRequest wire = request.prepare();
        benchmark::DoNotOptimize(wire.headers.size());
    }
}
BENCHMARK(BM_OAuthURLRequestPrepare)->Unit(benchmark::kMicrosecond);

std::vector<std::pair<std::string, std::string>> plainParameters()
{
    std::vector<std::pair<std::string, std::string>> list;
    for (const auto& p : parameters()) list.emplace_back(p.name(), p.value());
    return list;
}

const bench::HandWrittenSigner& handSigner()
{
    static const bench::HandWrittenSigner signer(kConsumer.key, kConsumer.secret, kToken.key, kToken.secret);
    return signer;
}

void BM_HandWrittenSigner(benchmark::State& state)
{
    const auto list = plainParameters();
    for (auto _ : state) {
        bench::SignedParts parts = handSigner().sign("POST", kUrl, list);
        benchmark::DoNotOptimize(parts.authorization.size());
    }
}
BENCHMARK(BM_HandWrittenSigner)->Unit(benchmark::kMicrosecond);

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


// Both sides must put the same bytes on the wire, or the comparison is void.
bool sameBytesOnTheWire()
{
    OAuthURLRequest request(kUrl, kConsumer, kToken);
    request.setHTTPMethod("POST");
    request.setParameters(parameters());
    request.setNonceAndTimestamp(kNonce, kTimestamp);
    const platform::URLRequest wire = request.prepare();
    const bench::SignedParts hand = handSigner().sign("POST", kUrl, plainParameters(), kNonce, kTimestamp);
    const std::string body(wire.body.begin(), wire.body.end());
    if (wire.headers.value("Authorization") == hand.authorization && body == hand.body && wire.url == hand.url)
        return true;
    std::fprintf(stderr, "the signers differ:\n  %s\n  %s\n  %s\n  %s\n",
                 wire.headers.value("Authorization").value_or("(none)").c_str(), hand.authorization.c_str(),
                 body.c_str(), hand.body.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    if (!sameBytesOnTheWire()) return 1;
    const std::string what = "signed request of " + std::to_string(parameters().size()) + " parameters: prepare / ";
    RatioReporter reporter({{"BM_OAuthURLRequestPrepare", "BM_HandWrittenSigner", what + "hand-written signer"},
                            {"BM_OAuthURLRequestPrepare", "BM_RawOpenSSLHmacSha1", what + "bare HMAC (floor)"}});
    return runBenchmarksWithRatio(argc, argv, reporter);
}
