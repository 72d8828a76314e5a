#pragma once
// The bootstrap exchange's way into the client: the statistics it sends, the
// notices, the host's user check and the reply applied to the client
// settings, the user options and the add-ons. Installed by the client layer
// with the log-in chain.
//
// Thread: as HCBootstrapClient says: the parameters, notices and the user
// check on the main thread, the apply steps on the provider's request thread
// (the user options and counters it writes may be used from any thread).
#include <mutex>

#include "core/bootstrap/HCBootstrapClient.h"
#include "core/halcyon/Halcyon.h"

class HalcyonBootstrapClient final : public HCBootstrapClient {
public:
    void getUserStatsParams(HCHttpNestedQueryStringWriter& writer) override;
    void postBootstrapBegan(const Text& userId) override;
    void postBootstrapSucceeded() override;
    void postBootstrapFailed() override;
    bool takeForceUserCheckOnBootstrap() override;
    std::optional<bool> userAttemptingToLogin(const std::shared_ptr<HCUser>& user) override;
    void abortBootstrap() override;

    void storePollingFrequencies(uint32_t defaultSeconds, uint32_t chatSeconds) override;
    void applyUserOptions(const HCBootstrap& bootstrap, int distanceUnit) override;
    void notifyAddOnsUserLoggedIn() override;
    void resetUserStatsAndCountOnlineSession() override;

private:
    std::mutex mutex_;
    // What the running exchange sent, taken away once its reply is applied.
    HCUserStatsSnapshot sent_;
};
