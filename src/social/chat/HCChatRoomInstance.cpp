#include "social/chat/HCChatRoomInstance.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/chat/HCChatRoomInstanceService.h"

std::shared_ptr<HCService> HCChatRoomInstance::getService() const
{
    return HCChatRoomInstanceService::sharedInstance();
}

const HCResourceDataMap& HCChatRoomInstance::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("room_name", &HCChatRoomInstance::setRoomName);
        m->addField("num_users_in_room", &HCChatRoomInstance::setNumUsersInRoomFromString);
        m->addField("max_num_users_in_room", &HCChatRoomInstance::setMaxNumUsersInRoomFromString);
        m->addField("room_type", &HCChatRoomInstance::setRoomType);
        return m;
    }();
    return *map;
}

void HCChatRoomInstance::setNumUsersInRoomFromString(const Text& text)
{
    numUsersInRoom_ = HCResourceText::readInt(text);
}

void HCChatRoomInstance::setMaxNumUsersInRoomFromString(const Text& text)
{
    maxNumUsersInRoom_ = HCResourceText::readInt(text);
}
