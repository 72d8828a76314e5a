#pragma once
// A player paired with a game: that player's score in it and whether the
// game is one of their favourites (the who's-playing list).
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time; no lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"

class HCGamePlayer final : public HCResource {
public:
    using Text = std::optional<std::string>;

    // The profile service, which serves the games' players.
    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "game_player"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    const HCUserPtr& user() const { return user_; }
    const Text& applicationId() const { return applicationId_; }
    uint32_t applicationGamerscore() const { return applicationGamerscore_; }
    bool isFavorite() const { return isFavorite_; }

    // Data-map setters.
    void setUser(HCUserPtr user) { user_ = std::move(user); }
    void setApplicationId(const Text& text) { applicationId_ = text; }
    // The leading number; negative texts read as 0.
    void setApplicationGamerscore(const Text& text);
    void setIsFavorite(const Text& text);

private:
    HCUserPtr user_;
    Text applicationId_;
    uint32_t applicationGamerscore_ = 0;
    bool isFavorite_ = false;
};
