#pragma once
// The bootstrap exchange, the first service call of every log-in: POST
// "bootstrap.xml" with the device, the user (when known), the offline
// store's synchronisation dates and the usage statistics; the reply's
// HCBootstrap is applied to the client on the provider's request thread,
// and the one caller that started the exchange hears the outcome on the
// main thread.
//
// One exchange runs at a time: a start while one runs, or while the
// provider discards actions, fails at once and leaves the running one
// alone. The host's user check (when the start-up asked for it) runs on the
// main thread between reading the reply and applying it; a refused user
// applies nothing: the log-in is aborted, then the waiting caller hears the
// failure.
//
// Thread: initializeService, shutdownService, start, completion and the user
// check on the main thread; reading and applying the reply on the provider's
// request thread.
#include <memory>
#include <optional>
#include <string>

#include "core/bootstrap/HCBootstrapClient.h"
#include "core/services/HCService.h"
#include "platform/runtime/ThreadChecker.h"

class HCPaginatedSeries;

class HCBootstrapService final : public HCService {
public:
    static constexpr const char* kBootstrapPath = "bootstrap.xml";

    static void initializeService();
    static void shutdownService();
    // Nil before initializeService and after shutdownService.
    static std::shared_ptr<HCBootstrapService> sharedInstance();

    // The client parts the exchange reads and applies; nil: the Halcyon
    // class's (HCHalcyonBootstrapClient).
    static void setClient(std::shared_ptr<HCBootstrapClient> client);
    // The offline store; its resource classes join the reply's name map.
    static void setOfflineSync(std::shared_ptr<HCBootstrapOfflineSync> sync);

    // Starts an exchange for the user (nil or "0": none) or a new account.
    // Without a running service the failure callback is called with nil.
    static void doBootstrapWithNewAccount(bool newAccount, const std::optional<std::string>& userId,
                                          const HCDelegate& onSucceededLoggingIn, const HCDelegate& onFailedLoggingIn);
    static bool bootstrapInProgress();

    void populateKnownResources(HCResourceNameMap& map) override;

    // Reply handler (request thread).
    void bootstrapSucceededOnBootstrapThread(std::shared_ptr<HCPaginatedSeries> series);
    // Completion (main thread): the series, or the provider's failure object (or nil).
    void bootstrapSucceeded(std::shared_ptr<HCPaginatedSeries> series);
    void bootstrapFailed(std::shared_ptr<platform::Object> failure);

private:
    void start(bool newAccount, const std::optional<std::string>& userId, const HCDelegate& onSucceeded,
               const HCDelegate& onFailed);
    void checkUserOnMainThread(const std::shared_ptr<HCPaginatedSeries>& series);
    void applyOnBootstrapThread(const std::shared_ptr<HCPaginatedSeries>& series);

    // The provider's request thread of the exchange in progress.
    platform::ThreadChecker requestThread_;
    bool bootstrapInProgress_ = false;
    HCDelegate success_;
    HCDelegate failure_;
};
