#pragma once
// The player's subscription to the game developer's newsletter
// ("news_letter_subscription"): the player and the developer.
//
// Thread: read on the provider's request thread, then used on the main thread.
#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"

class HCNewsletterSubscription final : public HCResource {
public:
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "news_letter_subscription"; }
    std::string getResourceDiscoveredNotification() const override { return "news_letter_subscription_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const HCUserPtr& user() const { return user_; }
    const HCUserPtr& developer() const { return developer_; }
    void setUser(HCUserPtr user) { user_ = std::move(user); }
    void setDeveloper(HCUserPtr developer) { developer_ = std::move(developer); }

private:
    HCUserPtr user_, developer_;
};
