#pragma once
// The rows that show a player: "User" in every list of players, its
// variant "SelectableUser" with a check box where players are picked, and
// "WhosPlaying" (a friend who plays a game, with the game's points beside
// the player's total).
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCCheckableCell.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/widgets/HCUserRelationshipIndicator.h"

class HCUserCell : public HCTableCellHelper {
public:
    HCUserCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    // The points fade out while the list is edited, so the delete button has room.
    void setEditing(bool editing, bool animated) override;
    std::string kindName() const override { return "HCUserCell"; }

protected:
    std::shared_ptr<HCImageView> profilePictureView_;
    std::shared_ptr<platform::ui::Label> nameLabel_, lastPlayedGameLabel_, gamerScoreLabel_, onlineLabel_;
    std::shared_ptr<HCUserRelationshipIndicator> relationshipIndicator_;
    std::shared_ptr<platform::ui::ImageView> halcyonScoreIconImageView_;
};

class HCSelectableUserCell : public HCUserCell, public HCCheckableCell {
public:
    HCSelectableUserCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool checked() const override { return checked_; }
    void setChecked(bool checked) override;
    std::string kindName() const override { return "HCSelectableUserCell"; }

private:
    std::shared_ptr<platform::ui::ImageView> checkbox_;
    bool checked_ = false;
};

class HCWhosPlayingCell : public HCTableCellHelper {
public:
    HCWhosPlayingCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCWhosPlayingCell"; }

private:
    std::shared_ptr<HCImageView> profilePictureView_;
    std::shared_ptr<platform::ui::Label> nameLabel_, lastPlayedGameLabel_, gamerScoreLabel_, appGamerScoreLabel_,
        onlineLabel_;
};
