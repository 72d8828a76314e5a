#pragma once
// The rows of the chat pages: a kind of room, one room with how full it
// is (red and the "Full" icon when full), and one line said in a room with
// who said it and the game they play.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "core/images/HCImageView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "social/chat/HCChatMessage.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCChatRoomDefinitionCell : public HCTableCellHelper {
public:
    static constexpr int kNameTag = 1;
    static constexpr int kIconTag = 5;
    // "HCIconChatFull.png" when full, else "HCIconChat.png", whatever the type.
    static platform::ui::ImagePtr getChatIconForChatType(const std::optional<std::string>& roomType, bool full);

    HCChatRoomDefinitionCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCChatRoomDefinitionCell"; }

private:
    std::shared_ptr<platform::ui::Label> nameLabel_;
    std::shared_ptr<HCImageView> icon_;
};

class HCChatRoomInstanceCell : public HCTableCellHelper {
public:
    static constexpr int kNameTag = 1;
    static constexpr int kOccupancyTag = 2;
    static constexpr int kIconTag = 4;

    HCChatRoomInstanceCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    const std::shared_ptr<platform::ui::Label>& occupancyLabel() const { return occupancyLabel_; }
    const std::shared_ptr<HCImageView>& icon() const { return icon_; }
    std::string kindName() const override { return "HCChatRoomInstanceCell"; }

private:
    std::shared_ptr<platform::ui::Label> nameLabel_, occupancyLabel_;
    std::shared_ptr<HCImageView> icon_;
};

class HCChatRoomChatMessageCell : public HCTableCellHelper {
public:
    static constexpr double kMinimumHeight = 59.0;
    // Whether the game a line's author plays leads anywhere: not for a
    // missing or "null" game; else when the player owns it or it has an icon.
    static bool shouldGameNameLink(const HCChatMessage& message);

    HCChatRoomChatMessageCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    const HCChatMessagePtr& message() const { return message_; }
    // The author's profile; nothing for an author without an id.
    void onClickedHalcyonName();
    const std::shared_ptr<platform::ui::Button>& nameButton() const { return nameButton_; }
    // The game the author plays: its game page when the player owns it, else
    // its description page; nothing for a game that leads nowhere.
    void onClickedGameName();
    const std::shared_ptr<platform::ui::Button>& gameNameButton() const { return gameNameButton_; }
    std::string kindName() const override { return "HCChatRoomChatMessageCell"; }

private:
    std::shared_ptr<HCImageView> profilePictureView_, gamePictureView_;
    std::shared_ptr<platform::ui::Label> playerNameLabel_, gameNameLabel_, chatMessageLabel_;
    std::shared_ptr<platform::ui::Button> nameButton_, gameNameButton_;
    HCChatMessagePtr message_;
};
