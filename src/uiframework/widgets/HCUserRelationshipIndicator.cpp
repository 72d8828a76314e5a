#include "uiframework/widgets/HCUserRelationshipIndicator.h"

#include "platform/runtime/ThreadChecker.h"

HCUserRelationshipIndicator::HCUserRelationshipIndicator(const platform::ui::Rect& frame) : platform::ui::ImageView(frame)
{
    setHidden(true);
}

void HCUserRelationshipIndicator::setUser(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    relationship_ = Relationship::None;
    if (user && !user->isLocalUser()) {
        const bool following = user->followedByLocalUser();
        const bool follower = user->followsLocalUser();
        if (following && follower) {
            relationship_ = Relationship::Friends;
        } else if (following) {
            relationship_ = Relationship::Following;
        } else if (follower) {
            relationship_ = Relationship::Follower;
        }
    }
    switch (relationship_) {
    case Relationship::Friends: setImage(platform::ui::Image::imageNamed(kFriendsImage)); break;
    case Relationship::Following: setImage(platform::ui::Image::imageNamed(kFollowingImage)); break;
    case Relationship::Follower: setImage(platform::ui::Image::imageNamed(kFollowerImage)); break;
    case Relationship::None: setImage(nullptr); break;
    }
    setHidden(relationship_ == Relationship::None);
}

std::string HCUserRelationshipIndicator::describe() const
{
    switch (relationship_) {
    case Relationship::Friends: return "friends";
    case Relationship::Following: return "following";
    case Relationship::Follower: return "follower";
    case Relationship::None: break;
    }
    return "none";
}
