#pragma once
// The small sign beside a player that says how the player relates to the
// local player: followed by the local player, following the local player,
// or both (friends). It shows nothing for the local player, for a player
// with no link either way, and for no player.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "core/users/HCUser.h"
#include "platform/ui/ImageView.h"

class HCUserRelationshipIndicator final : public platform::ui::ImageView {
public:
    enum class Relationship { None, Following, Follower, Friends };

    static constexpr const char* kFriendsImage = "HCRelationshipFriends.png";
    static constexpr const char* kFollowingImage = "HCRelationshipFollowing.png";
    static constexpr const char* kFollowerImage = "HCRelationshipFollower.png";

    explicit HCUserRelationshipIndicator(const platform::ui::Rect& frame = platform::ui::Rect());

    void setUser(const std::shared_ptr<HCUser>& user);
    Relationship relationship() const { return relationship_; }

    std::string kindName() const override { return "HCUserRelationshipIndicator"; }
    std::string describe() const override;

private:
    Relationship relationship_ = Relationship::None;
};
