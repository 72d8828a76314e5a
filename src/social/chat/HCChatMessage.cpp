#include "social/chat/HCChatMessage.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "social/chat/HCChatMessageService.h"

std::shared_ptr<HCService> HCChatMessage::getService() const
{
    return HCChatMessageService::sharedInstance();
}

const HCResourceDataMap& HCChatMessage::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("message", &HCChatMessage::setMessage);
        m->addField("date", &HCChatMessage::setDate);
        m->addField("player_current_game_icon_url", &HCChatMessage::setPlayerCurrentGameIconUrl);
        m->addField("local_user_owns_application", &HCChatMessage::setDoesLocalPlayerOwnGameFromString);
        m->addNestedResourceField("user", &HCChatMessage::setUser);
        return m;
    }();
    return *map;
}

void HCChatMessage::setDoesLocalPlayerOwnGameFromString(const Text& text)
{
    doesLocalPlayerOwnGame_ = HCResourceText::readBool(text);
}
