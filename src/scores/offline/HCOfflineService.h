#pragma once
// The offline store as a whole: at start-up it opens the database (both
// connections), creates or upgrades every table and imports the offline
// configuration file of the bundle ("halcyon_offline_config.xml", once per
// modification time); it puts the last synchronisation dates into the
// bootstrap request, applies the "offline" block of the bootstrap reply, and
// starts the upload of pending data after log-in.
//
// What it needs of the achievement and high-score services goes through
// HCOfflineHooks (setHooks), installed by the client's hook installation.
//
// Thread: start-up, shut-down, the configuration import, the request
// parameters and the pending upload on the main thread; syncOfflineData on
// the provider's request thread; the table versions on the main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"
#include "scores/offline/HCOfflineHooks.h"
#include "scores/offline/HCOfflineSchema.h"

class HCBootstrap;
class HCOffline;

class HCOfflineService final : public HCService {
public:
    static constexpr const char* kConfigFileName = "halcyon_offline_config.xml";

    // Opens and sets up the database, then imports the configuration file.
    static void initializeService();
    // Closes the database.
    static void shutdownService();
    static std::shared_ptr<HCOfflineService> sharedInstance();

    static void setHooks(HCOfflineHooks hooks);
    static HCOfflineHooks hooks();

    // What the schema set-up of this start-up achieved.
    const HCOfflineSchema::Outcome& schemaOutcome() const { return schemaOutcome_; }

    // On the main connection; 0 when there is no row.
    static int getTableVersion(const std::string& name);
    static bool setTableVersion(const std::string& name, long long version);

    // "CFBundleVersion" of the settings as "%04i.%02i.%02i" of its first
    // three components (a missing or non-numeric one is 0), computed on
    // first use and kept until the store starts or shuts down. Any thread.
    static std::string getFormattedAppVersion();

    // Imports the configuration file when its modification time differs
    // from the one recorded; answers whether it imported.
    bool importOfflineConfiguration();

    // "achievements_sync_date", then "leaderboards_sync_date".
    static void getBootstrapCallParams(HCHttpNestedQueryStringWriter& writer, const std::optional<std::string>& userId);
    // The player of the reply joins the users table, then the achievements,
    // then the leaderboards (with the player's server scores).
    static void syncOfflineData(const std::shared_ptr<HCOffline>& offline, const std::shared_ptr<HCBootstrap>& bootStrap);
    // Uploads the user's pending unlocks, then pending scores.
    void sendPendingData(const std::string& userId);

    static void shareKnownResources(HCResourceNameMap& map);
    void populateKnownResources(HCResourceNameMap& map) override;

private:
    HCOfflineSchema::Outcome schemaOutcome_;
};
