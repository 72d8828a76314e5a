#pragma once
// The offline store's part of the bootstrap exchange, installed into the
// bootstrap service by the client's hook installation: the sync dates sent,
// the "offline" block applied, the offline resource classes shared.
//
// Thread: as HCBootstrapOfflineSync says (request parameters and resources
// on the main thread, the reply's block on the provider's request thread).
#include "core/bootstrap/HCBootstrapClient.h"

class HCOfflineBootstrapSync final : public HCBootstrapOfflineSync {
public:
    void getBootstrapCallParams(HCHttpNestedQueryStringWriter& writer, const std::optional<std::string>& userId) override;
    // An object other than an "offline" block still records the player.
    void syncOfflineData(const platform::ObjectPtr& offlineData, const std::shared_ptr<HCBootstrap>& bootstrap) override;
    void shareKnownResources(HCResourceNameMap& map) override;
};
