#pragma once
// A kind of chat room ("chat_room_definition"): the global room, a
// developer's room, a game's room. Players join one of its instances.
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCDelegate.h"

class HCChatRoomDefinition final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "chat_room_definition"; }
    std::string getResourceDiscoveredNotification() const override
    {
        return "halcyon_chat_room_definition_discovered";
    }
    const HCResourceDataMap& getDataMap() const override;

    // The service's room type texts.
    static const char* getDeveloperRoomTypeId() { return "developer_room"; }
    static const char* getGlobalRoomTypeId() { return "global_room"; }
    static const char* getApplicationRoomTypeId() { return "application_room"; }
    // Exact equality with the type text; a nil type is none of them.
    static bool isRoomOfType(const Text& roomType, const char* typeId) { return roomType && *roomType == typeId; }

    bool isDeveloperRoom() const { return isRoomOfType(roomType_, getDeveloperRoomTypeId()); }
    bool isGlobalRoom() const { return isRoomOfType(roomType_, getGlobalRoomTypeId()); }
    bool isApplicationRoom() const { return isRoomOfType(roomType_, getApplicationRoomTypeId()); }

    // A kind of room has no list of its own to load: its rooms come from
    // the instance service.
    void doIndexActionOnSuccess(const HCDelegate& /*onSuccess*/, const HCDelegate& /*onFailure*/) const {}

    const Text& roomName() const { return roomName_; }
    const Text& roomType() const { return roomType_; }
    void setRoomName(const Text& text) { roomName_ = text; }
    void setRoomType(const Text& text) { roomType_ = text; }

private:
    Text roomName_;
    Text roomType_;
};

using HCChatRoomDefinitionPtr = std::shared_ptr<HCChatRoomDefinition>;
