#include "social/chat/HCChatRoomDefinition.h"

#include "kernel/resources/HCResourceDataMap.h"
#include "social/chat/HCChatRoomDefinitionService.h"

std::shared_ptr<HCService> HCChatRoomDefinition::getService() const
{
    return HCChatRoomDefinitionService::sharedInstance();
}

const HCResourceDataMap& HCChatRoomDefinition::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("room_name", &HCChatRoomDefinition::setRoomName);
        m->addField("room_type", &HCChatRoomDefinition::setRoomType);
        return m;
    }();
    return *map;
}
