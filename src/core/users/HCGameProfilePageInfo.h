#pragma once
// What a game offers on its profile page: its names and icon, which features
// it has, and its suggestions forum. The running game's own copy is kept,
// archived, in the client's user options; defaultInfo() stands in for it
// before the first log-in.
//
// Thread: built on the thread that reads its reply, then used by one thread
// at a time (the main thread once handed on); no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "platform/foundation/Coding.h"

class HCGameProfilePageInfo final : public HCResource, public platform::Coding {
public:
    using Text = std::optional<std::string>;

    // The running game before the server described it: its display names,
    // owned by the local player, no features, suggestions forum "0".
    static std::shared_ptr<HCGameProfilePageInfo> defaultInfo();

    std::string getResourceName() const override { return "game_profile_page_info"; }
    std::string getResourceDiscoveredNotification() const override { return std::string(); }
    const HCResourceDataMap& getDataMap() const override;

    std::string classNameForCoding() const override { return "HCGameProfilePageInfo"; }
    void encodeWithCoder(platform::KeyedArchiver& coder) const override;
    void initWithCoder(const platform::KeyedUnarchiver& coder) override;

    // YES when this is the running game's info (same resource id).
    bool isLocalGameInfo() const;

    const Text& name() const { return name_; }
    const Text& shortName() const { return shortName_; }
    const Text& iconUrl() const { return iconUrl_; }
    bool hasChatRooms() const { return hasChatRooms_; }
    bool hasLeaderboards() const { return hasLeaderboards_; }
    bool hasAchievements() const { return hasAchievements_; }
    bool hasChallenges() const { return hasChallenges_; }
    bool hasiPurchase() const { return hasiPurchase_; }
    bool ownedByLocalPlayer() const { return ownedByLocalPlayer_; }
    bool hasFeaturedApplication() const { return hasFeaturedApplication_; }
    const Text& suggestionsForumId() const { return suggestionsForumId_; }

    // Data-map setters (element texts).
    void setName(const Text& text) { name_ = text; }
    void setShortName(const Text& text) { shortName_ = text; }
    void setIconUrl(const Text& text) { iconUrl_ = text; }
    void setHasChatRooms(const Text& text);
    void setHasLeaderboards(const Text& text);
    void setHasChallenges(const Text& text);
    void setHasAchievements(const Text& text);
    void setHasiPurchase(const Text& text);
    void setOwnedByLocalPlayer(const Text& text);
    void setSuggestionsForumId(const Text& text) { suggestionsForumId_ = text; }
    void setHasFeaturedApplication(const Text& text);

private:
    Text name_;
    Text shortName_;
    Text iconUrl_;
    bool hasChatRooms_ = false;
    bool hasLeaderboards_ = false;
    bool hasAchievements_ = false;
    bool hasChallenges_ = false;
    bool hasiPurchase_ = false;
    bool ownedByLocalPlayer_ = false;
    bool hasFeaturedApplication_ = false;
    Text suggestionsForumId_;
};

using HCGameProfilePageInfoPtr = std::shared_ptr<HCGameProfilePageInfo>;
