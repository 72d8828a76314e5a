#pragma once
// A game in a player's list of games, with the statistics of the players
// who have it (one entry each), its icon, and whether the player made it a
// favourite and reviewed it. Never written back to the service.
//
// The icon operation follows the public-class pattern with one
// HCPlayedGameDelegate for the class. Letting go of a game while its icon
// downloads cancels the download; no delegate method follows.
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time, the main thread once handed to the game; no lock. The
// operations run on the main thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/images/HCImageDownload.h"
#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "social/profiles/HCUserGameStat.h"

class HCPlayedGameDelegate;

class HCPlayedGame final : public HCResource, public HCCallbackable {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kModule = "HCPlayedGame";
    static void setDelegate(HCPlayedGameDelegate* delegate);
    // The developer's picks (the discovery page "developers_picks", page 1):
    // didGetFeaturedGames or didFailGetFeaturedGames.
    static HCRequestHandlePtr getFeaturedGames();

    std::string getResourceName() const override { return "played_game"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_played_game_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    std::shared_ptr<HCService> getService() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    const Text& name() const { return name_; }
    const Text& iconUrl() const { return iconUrl_; }
    const Text& clientApplicationId() const { return clientApplicationId_; }
    uint32_t totalGamerscore() const { return totalGamerscore_; }
    uint32_t friendsWithApp() const { return friendsWithApp_; }
    const std::vector<std::shared_ptr<HCUserGameStat>>& userGameStats() const { return userGameStats_; }
    const Text& iTunesAppStoreUrl() const { return iTunesAppStoreUrl_; }
    bool favorite() const { return favorite_; }
    const Text& review() const { return review_; }

    // The local player's entry in the statistics; nil when there is none.
    std::shared_ptr<HCUserGameStat> getLocalUsersGameStat() const;
    // Whether the local player has the game (NO without an entry).
    bool isOwnedByCurrentUser() const;
    // didGetGameIcon(image, game) or didFailGetGameIconHCPlayedGame; a cached
    // icon is answered before the call returns, with nil.
    HCRequestHandlePtr getGameIcon();

    // Data-map setters (element texts).
    void setName(const Text& text) { name_ = text; }
    void setIconUrl(const Text& text) { iconUrl_ = text; }
    void setClientApplicationId(const Text& text) { clientApplicationId_ = text; }
    void setTotalGamerscore(const Text& text);
    void setFriendsWithApp(const Text& text);
    // Entries of another class are left out.
    void setUserGameStats(const std::shared_ptr<platform::Array>& stats);
    void setITunesAppStoreUrl(const Text& text) { iTunesAppStoreUrl_ = text; }
    void setFavorite(const Text& text);
    void setReview(const Text& text) { review_ = text; }

private:
    Text name_;
    Text iconUrl_;
    Text clientApplicationId_;
    uint32_t totalGamerscore_ = 0;
    uint32_t friendsWithApp_ = 0;
    std::vector<std::shared_ptr<HCUserGameStat>> userGameStats_;
    Text iTunesAppStoreUrl_;
    bool favorite_ = false;
    Text review_;
    HCImageDownloadSlots iconDownload_;
};

using HCPlayedGamePtr = std::shared_ptr<HCPlayedGame>;
