#pragma once
// The bootstrap exchange's view of the Halcyon class: the statistics sent
// and reset, the exchange's notices, the host's user check, and the reply
// applied to the user options, the client settings, the presence channel
// and the add-ons. The bootstrap service uses it unless another client is
// installed. A refused user ends the log-in in progress
// (Halcyon::abortBootstrap).
//
// Thread: as HCBootstrapClient (the statistics snapshot is taken on the main
// thread and used on the request thread, hence the lock).
#include <mutex>

#include "core/bootstrap/HCBootstrapClient.h"
#include "core/halcyon/Halcyon.h"

class HCHalcyonBootstrapClient : public HCBootstrapClient {
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
    void applyPresence(const Text& queue, bool pipeHttp, bool connect) override;
    void notifyAddOnsUserLoggedIn() override;
    void resetUserStatsAndCountOnlineSession() override;

private:
    std::mutex mutex_;
    HCUserStatsSnapshot sent_;
};
