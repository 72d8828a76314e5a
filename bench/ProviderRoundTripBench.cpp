// What one service request costs end to end through the provider (queue,
// signing on the request thread, the transport thread, the callbacks' hops
// back to the main thread) against a plain libcurl GET of the same URL with
// the same signed header, both against the local server on the loopback
// interface. The server does not reject replayed signatures, so the raw GET
// can reuse one.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Server.h"
#include "platform/runtime/Thread.h"
#include "transport/provider/HCProvider.h"

namespace {

localserver::Server* gServer = nullptr;

size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

void BM_ProviderRoundTrip(benchmark::State& state)
{
    auto provider = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                       localserver::defaults::kProductSecret);
    provider->setAccessToken(localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    auto loop = platform::Thread::mainThread()->runLoop();
    for (auto _ : state) {
        int status = 0;
        bool done = false;
        auto finish = HCDelegate::withFunction([&](const platform::ObjectPtr& reply) {
            if (auto loader = platform::as<OAuthAPIRequestLoader>(reply)) status = loader->statusCode();
            done = true;
        });
        provider->performAction("server_timestamp", std::nullopt, "GET", finish, finish, 0, nullptr, true);
        if (!loop->runUntil([&] { return done; }, 10.0) || status != 200) {
            state.SkipWithError("the provider's request did not succeed");
            break;
        }
    }
    provider->cleanupRequestThread();
}
BENCHMARK(BM_ProviderRoundTrip)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RawCurlGet(benchmark::State& state)
{
    OAuthURLRequest signedRequest(
        gServer->serviceRootUrl() + "server_timestamp",
        OAuthConsumer{localserver::defaults::kProductKey, localserver::defaults::kProductSecret},
        OAuthToken{localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret});
    platform::URLRequest wire = signedRequest.prepare();

    CURL* curl = curl_easy_init();
    curl_slist* headers = nullptr;
    for (const auto& [name, value] : wire.headers.fields()) {
        headers = curl_slist_append(headers, (name + ": " + value).c_str());
    }
    curl_easy_setopt(curl, CURLOPT_URL, wire.url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    for (auto _ : state) {
        long status = 0;
        if (curl_easy_perform(curl) != CURLE_OK ||
            curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != 200) {
            state.SkipWithError("the raw GET did not succeed");
            break;
        }
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
}
BENCHMARK(BM_RawCurlGet)->Unit(benchmark::kMicrosecond)->UseRealTime();


}  // namespace

int main(int argc, char** argv)
{
    platform::Thread::adoptCurrentAsMain();
    localserver::Server server;
    localserver::registerServiceRoutes(server);
    if (!server.start()) {
        std::fprintf(stderr, "local server: %s\n", server.error().c_str());
        return 1;
    }
    gServer = &server;
    HCSettings::setDefaultOverride("server-url", server.serviceRootUrl());
    HCSettings::Initialize();

    RatioReporter reporter("BM_ProviderRoundTrip", "BM_RawCurlGet",
                           "loopback GET: provider / raw libcurl");
    int status = runBenchmarksWithRatio(argc, argv, reporter);

    HCSettings::Shutdown();
    server.stop();
    return status;
}
