#pragma once
// The game's challenge definitions (all, or one by id) and the local
// player's per-definition statistics, optionally compared with another
// player.
//
// A nil or empty definition id fails the call at once without a request.
// While the service is not running a call answers nil and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCChallengeDefinitionService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCChallengeDefinitionService> sharedInstance();

    // GET "challenge_definitions.xml".
    HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    static HCRequestHandlePtr getChallengeDefinitionWithId(const Text& definitionId, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure);
    // A nil application id means this game; a nil or empty compared user
    // sends none.
    static void getChallengeDefinitionStatsForLocalUser(uint32_t page, const Text& clientApplicationId,
                                                        const Text& comparedToUserId, const HCDelegate& onSuccess,
                                                        const HCDelegate& onFailure);
    static void getChallengeDefinitionStatsForLocalUser(uint32_t page, const Text& clientApplicationId,
                                                        const HCDelegate& onSuccess, const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
