#pragma once
// A player's favourite flag and review of a game ("client_application_user"),
// with the player.
//
// Thread: read on the provider's request thread, then used on the main thread.
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"

class HCPlayerReview final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "client_application_user"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_player_review_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    bool favorite() const { return favorite_; }
    const Text& review() const { return review_; }
    const HCUserPtr& user() const { return user_; }
    void setfavorite(const Text& text);
    void setReview(const Text& text) { review_ = text; }
    void setUser(HCUserPtr user) { user_ = std::move(user); }

private:
    bool favorite_ = false;
    Text review_;
    HCUserPtr user_;
};
