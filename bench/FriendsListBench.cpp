// Both sides: the friends page's list of 100, 1,000 and 10,000 followed players from the local server
// (HCFriendsService::getAllUsersFollowedByLocalUserAlphabetical: the signed GET, the reply read into HCUser
// objects on the request thread, the series on the main thread | the same signed GET by hand with libcurl on a
// reused handle, the body only received).
//
// The local server's first player follows N players named "Player <id>",
// all answered in one sectioned reply (about 230 bytes a player). Ours
// waits on the main run loop for the series, as the page does; the raw
// side sends the very parameters the service sent (the parental-controls
// flag too), signed with HandWrittenSigner.h, so the server does the same
// work for both: one new connection each (the server closes every one),
// the same reply bytes.
//
// The players of the larger cases stay in the server after them, so the
// raw side's 100 meets 10,000 players where the service's met 100: the
// server looks up only the followed ones (it once copied every player for
// each list, and that, not the client, was the raw side's 2 ms), so a case
// costs it the same whatever ran before.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BenchCommandLine.h"
#include "HandWrittenSigner.h"
#include "RatioReporter.h"
#include "ScratchFolder.h"
#include "SignedCurlGet.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCTableSectionDescription.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Accounts.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"
#include "social/friends/HCFriendsService.h"
#include "transport/provider/HCProvider.h"

namespace {

std::unique_ptr<localserver::Server> server;
std::shared_ptr<HCProvider> provider;
int followed = -1;

size_t collect(char* data, size_t size, size_t count, void* into)
{
    static_cast<std::string*>(into)->append(data, size * count);
    return size * count;
}

// Ann follows `count` players (each added once, the first time they are needed).
void follow(int count)
{
    if (count == followed) return;
    auto ann = *server->accounts().user(localserver::defaults::kUserId);
    ann.friends.clear();
    for (int i = 0; i < count; ++i) {
        const std::string id = std::to_string(20000 + i);
        if (!server->accounts().user(id)) server->accounts().addUser(localserver::User(id, "Player " + id));
        ann.friends.push_back(id);
    }
    server->accounts().addUser(ann);
    followed = count;
}

// One request of the list through the service, waited for on the main run
// loop as the page waits: the players it delivered, or -1 when it failed or
// had not come after 30 s.
long friendsThroughService()
{
    long rows = 0;
    bool done = false;
    HCFriendsService::getAllUsersFollowedByLocalUserAlphabetical(
        HCDelegate::withFunction([&](const platform::ObjectPtr& reply) {
            if (auto series = platform::as<HCPaginatedSeries>(reply)) {
                for (const auto& section : series->objects()) {
                    if (auto page = platform::as<HCTableSectionDescription>(section)) {
                        rows += page->page() ? static_cast<long>(page->page()->count()) : 0;
                    }
                }
            }
            done = true;
        }),
        HCDelegate::withFunction([&](const platform::ObjectPtr&) {
            rows = -1;
            done = true;
        }));
    const bool arrived = platform::Thread::mainThread()->runLoop()->runUntil([&] { return done; }, 30.0);
    return arrived ? rows : -1;
}

// The parameters the service sent for the list, as the server took them
// (the parental-controls flag it keeps apart included); the service is
// asked once, untimed, when no case of it ran before (a filter left them
// out).
std::vector<std::pair<std::string, std::string>> serviceParameters()
{
    for (int asked = 0; asked < 2; ++asked) {
        const auto entries = server->log().entries();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            if (entry->request.path != "users.xml") continue;
            std::vector<std::pair<std::string, std::string>> sent(entry->request.params.begin(),
                                                                  entry->request.params.end());
            if (entry->request.parentalControlsEnabled)
                sent.emplace_back(HCProvider::kParentalControlsParameter, *entry->request.parentalControlsEnabled);
            return sent;
        }
        friendsThroughService();
    }
    return {};
}

void BM_FriendsService(benchmark::State& state)
{
    follow(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (friendsThroughService() != state.range(0)) {
            state.SkipWithError("the list did not arrive whole");
            break;
        }
    }
}

void BM_RawCurlFriends(benchmark::State& state)
{
    follow(static_cast<int>(state.range(0)));
    const auto parameters = serviceParameters();
    bench::HandWrittenSigner signer(localserver::defaults::kProductKey, localserver::defaults::kProductSecret,
                                    localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    CURL* curl = curl_easy_init();
    std::string body;
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    const std::string url = server->serviceRootUrl() + "users.xml";
    for (auto _ : state) {
        body.clear();
        if (parameters.empty() || !bench::performSignedGet(curl, signer, url, parameters)) {
            state.SkipWithError("the raw request failed");
            break;
        }
    }
    state.counters["reply_bytes"] = static_cast<double>(body.size());
    curl_easy_cleanup(curl);
}

BENCHMARK(BM_FriendsService)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawCurlFriends)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    platform::Thread::adoptCurrentAsMain();
    platform::Sandbox::configure(bench::scratchFolder());
    server = std::make_unique<localserver::Server>();
    localserver::registerServiceRoutes(*server);
    if (!server->start()) return 1;
    HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
    HCSettings::Initialize();
    provider = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                  localserver::defaults::kProductSecret);
    provider->setAccessToken(localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    HCService::setProvider(provider);
    HCFriendsService::initializeService();
    RatioReporter reporter({
        {"BM_FriendsService/100", "BM_RawCurlFriends/100", "100 friends: service / raw libcurl"},
        {"BM_FriendsService/1000", "BM_RawCurlFriends/1000", "1,000 friends: service / raw libcurl"},
        {"BM_FriendsService/10000", "BM_RawCurlFriends/10000", "10,000 friends: service / raw libcurl"},
    });
    const int status = runBenchmarksWithRatio(argc, argv, reporter);
    HCFriendsService::shutdownService();
    provider->cleanupRequestThread();
    HCService::setProvider(nullptr);
    HCSettings::Shutdown();
    server->stop();
    platform::Sandbox::reset();
    return status;
}
