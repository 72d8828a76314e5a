#pragma once
// The player's settings on the service (sections of on/off settings and of
// rows that open pages), changing one by key or by id, and the player's
// subscription to the game developer's newsletter.
//
// Every call needs a logged-in session and shows its notice in a foreground
// banner. A nil application id means this game. A key or id that names
// nothing fails the call at once without a request. While the service is
// not running a call answers nil and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCUserSettingService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCUserSettingService> sharedInstance();

    // The settings in sections (reached as sharedInstance()->getIndexOnSuccess).
    HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    static HCRequestHandlePtr getUserSettingWithKey(const Text& key, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static HCRequestHandlePtr setUserSettingWithKey(const Text& key, bool value, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static HCRequestHandlePtr setUserSettingWithId(const Text& settingId, bool value, const HCDelegate& onSuccess,
                                                   const HCDelegate& onFailure);
    static HCRequestHandlePtr getSubscribingToDeveloperNewsLetter(const Text& clientApplicationId,
                                                                  const HCDelegate& onSuccess,
                                                                  const HCDelegate& onFailure);
    // Subscribing POSTs, unsubscribing DELETEs the same path.
    static HCRequestHandlePtr setSubscribeToDeveloperNewsLetter(bool subscribe, const Text& clientApplicationId,
                                                                const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
