#pragma once
// What the forum topic list asks of the chat room list it opens
// ("SelectChatRoomDefinition"): which kinds of rooms to offer.
//
// Thread: main thread.
class HCChatRoomDefinitionChooser {
public:
    virtual ~HCChatRoomDefinitionChooser() = default;
    virtual void setIncludeGlobalRooms(bool include) = 0;
    virtual void setIncludeApplicationRooms(bool include) = 0;
    virtual void setIncludeDeveloperRooms(bool include) = 0;
};
