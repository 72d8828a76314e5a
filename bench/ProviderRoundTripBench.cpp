// Both sides: one signed loopback GET of the same route (HCProvider | hand-signed libcurl, reused handle).
//
// Both sides make the same signed GET of the local server's server_timestamp
// route on the loopback interface, one request at a time, with a fresh nonce
// and timestamp each: the provider (queue, signing and the transfer on the
// request thread, the callback's hop back to the main thread) against a
// hand-written client that signs with HandWrittenSigner.h and performs on one
// reused libcurl easy handle on the calling thread. The two run interleaved in
// rounds so that load on the machine falls on both alike; each request is
// timed on its own, and p50, p90 and p99 are printed with the context
// switches per request of the whole process (the in-process server's included,
// the same for both sides).
#include <curl/curl.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchCommandLine.h"
#include "HandWrittenSigner.h"
#include "ScratchFolder.h"
#include "SignedCurlGet.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Server.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/Thread.h"
#include "transport/provider/HCProvider.h"

namespace {

size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

using Clock = std::chrono::steady_clock;

// One request each call; false when it did not come back 200.
using RequestOnce = std::function<bool()>;

struct Samples {
    std::vector<double> microseconds;
    long contextSwitches = 0;
};

long contextSwitchesSoFar()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

bool measure(const RequestOnce& request, int count, Samples& into)
{
    const long switchesBefore = contextSwitchesSoFar();
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        if (!request()) return false;
        into.microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    into.contextSwitches += contextSwitchesSoFar() - switchesBefore;
    return true;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(fraction * static_cast<double>(values.size()));
    const size_t index = std::min(values.size() - 1, rank);
    return values[index];
}

class ProviderClient {
public:
    ProviderClient()
        : provider_(HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                       localserver::defaults::kProductSecret))
    {
        provider_->setAccessToken(localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    }
    ~ProviderClient() { provider_->cleanupRequestThread(); }
    ProviderClient(const ProviderClient&) = delete;
    ProviderClient& operator=(const ProviderClient&) = delete;

    bool requestOnce()
    {
        int status = 0;
        bool done = false;
        auto finish = HCDelegate::withFunction([&](const platform::ObjectPtr& reply) {
            if (auto loader = platform::as<OAuthAPIRequestLoader>(reply)) status = loader->statusCode();
            done = true;
        });
        provider_->performAction("server_timestamp", std::nullopt, "GET", finish, finish, 0, nullptr, true);
        return platform::Thread::mainThread()->runLoop()->runUntil([&] { return done; }, 10.0) && status == 200;
    }

private:
    std::shared_ptr<HCProvider> provider_;
};

class RawCurlClient {
public:
    explicit RawCurlClient(std::string url)
        : url_(std::move(url)), signer_(localserver::defaults::kProductKey, localserver::defaults::kProductSecret,
                                        localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret),
          curl_(curl_easy_init())
    {
        curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, discard);
        // Accepts compressed replies as the library does, so that the server
        // does the same work for both.
        curl_easy_setopt(curl_, CURLOPT_ACCEPT_ENCODING, "");
    }
    ~RawCurlClient() { curl_easy_cleanup(curl_); }
    RawCurlClient(const RawCurlClient&) = delete;
    RawCurlClient& operator=(const RawCurlClient&) = delete;

    bool requestOnce() { return bench::performSignedGet(curl_, signer_, url_); }

private:
    std::string url_;
    bench::HandWrittenSigner signer_;
    CURL* curl_;
};

void report(const char* name, const Samples& samples)
{
    std::printf("%-28s p50 %8.1f us   p90 %8.1f us   p99 %8.1f us   %.2f context switches/request\n", name,
                percentile(samples.microseconds, 0.50), percentile(samples.microseconds, 0.90),
                percentile(samples.microseconds, 0.99),
                static_cast<double>(samples.contextSwitches) / static_cast<double>(samples.microseconds.size()));
}

// "--rounds=N" and "--per-round=N" size the run (their defaults are in
// bench/options.txt); 0 counts as 1.
int runRounds(int argc, char** argv, const std::string& serviceRootUrl)
{
    const int rounds = std::max(1, benchSize(argc, argv, "rounds").value_or(1));
    const int perRound = std::max(1, benchSize(argc, argv, "per-round").value_or(1));
    ProviderClient provider;
    RawCurlClient raw(serviceRootUrl + "server_timestamp");
    // Warm both: the connection, the threads, the first allocations.
    Samples warmUp;
    if (!measure([&] { return provider.requestOnce(); }, 10, warmUp) ||
        !measure([&] { return raw.requestOnce(); }, 10, warmUp)) {
        std::fprintf(stderr, "a warm-up request did not succeed\n");
        return 1;
    }
    Samples ours, baseline;
    for (int round = 0; round < rounds; ++round) {
        if (!measure([&] { return provider.requestOnce(); }, perRound, ours) ||
            !measure([&] { return raw.requestOnce(); }, perRound, baseline)) {
            std::fprintf(stderr, "a request did not succeed in round %d\n", round);
            return 1;
        }
    }
    std::printf("%d rounds of %d requests each, interleaved\n", rounds, perRound);
    report("provider", ours);
    report("raw libcurl, hand-signed", baseline);
    for (const auto& [label, fraction] : {std::pair{"p50", 0.50}, std::pair{"p90", 0.90}, std::pair{"p99", 0.99}}) {
        std::printf("loopback signed GET %s: provider / raw libcurl hand-signed, reused handle time = %.2f\n", label,
                    percentile(ours.microseconds, fraction) / percentile(baseline.microseconds, fraction));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    platform::Thread::adoptCurrentAsMain();
    // The provider keeps its credentials under the sandbox: a scratch one.
    platform::Sandbox::configure(bench::scratchFolder());
    localserver::Server server;
    localserver::registerServiceRoutes(server);
    if (!server.start()) {
        std::fprintf(stderr, "local server: %s\n", server.error().c_str());
        return 1;
    }
    HCSettings::setDefaultOverride("server-url", server.serviceRootUrl());
    HCSettings::Initialize();

    int status = runRounds(argc, argv, server.serviceRootUrl());

    HCSettings::Shutdown();
    server.stop();
    platform::Sandbox::reset();
    return status;
}
