#pragma once
// Posts a game event to the player's linked networks through the service,
// and finds where a notification image lives.
//
// A post names its networks by name ("Fbconnect" for 0, "Twitter" for 1);
// numbers of no known network are not sent, and a post left with no known
// network is refused at once without a request. Every call needs a
// logged-in session. While the service is not running a call answers nil
// and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"
#include "social/socialposts/HCSocialNotification.h"

class HCSocialNotificationService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCSocialNotificationService> sharedInstance();

    // The network's name on the wire; nil for a number of no network.
    static std::optional<std::string> networkName(int network);

    // Shows the notice "Published Game Event: <text>" carrying the post.
    static HCRequestHandlePtr sendSocialNotification(const HCSocialNotificationPtr& notification,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getImageUrlForNotificationImageNamed(const std::optional<std::string>& imageName,
                                                                   const HCDelegate& onSuccess,
                                                                   const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
