#pragma once
// One room of a chat room definition ("chat_room_instance"), with how many
// players are in it and how many it takes.
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "social/chat/HCChatRoomDefinition.h"

class HCChatRoomInstance final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "chat_room_instance"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_chat_room_instance_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    bool isDeveloperRoom() const
    {
        return HCChatRoomDefinition::isRoomOfType(roomType_, HCChatRoomDefinition::getDeveloperRoomTypeId());
    }
    bool isGlobalRoom() const
    {
        return HCChatRoomDefinition::isRoomOfType(roomType_, HCChatRoomDefinition::getGlobalRoomTypeId());
    }
    bool isApplicationRoom() const
    {
        return HCChatRoomDefinition::isRoomOfType(roomType_, HCChatRoomDefinition::getApplicationRoomTypeId());
    }

    const Text& roomName() const { return roomName_; }
    const Text& roomType() const { return roomType_; }
    int32_t numUsersInRoom() const { return numUsersInRoom_; }
    int32_t maxNumUsersInRoom() const { return maxNumUsersInRoom_; }
    void setRoomName(const Text& text) { roomName_ = text; }
    void setRoomType(const Text& text) { roomType_ = text; }
    void setNumUsersInRoomFromString(const Text& text);
    void setMaxNumUsersInRoomFromString(const Text& text);

private:
    Text roomName_;
    Text roomType_;
    int32_t numUsersInRoom_ = 0;
    int32_t maxNumUsersInRoom_ = 0;
};

using HCChatRoomInstancePtr = std::shared_ptr<HCChatRoomInstance>;
