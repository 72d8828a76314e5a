#include "social/chat/HCChatRoomDefinitionService.h"

#include "core/banners/HCNotificationData.h"
#include "core/resources/HCResourceClass.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomInstance.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCChatRoomDefinitionService> sChatRoomDefinitionService;

}  // namespace

void HCChatRoomDefinitionService::initializeService()
{
    if (!sChatRoomDefinitionService) sChatRoomDefinitionService = HCService::create<HCChatRoomDefinitionService>();
}

void HCChatRoomDefinitionService::shutdownService()
{
    sChatRoomDefinitionService = nullptr;
}

std::shared_ptr<HCChatRoomDefinitionService> HCChatRoomDefinitionService::sharedInstance()
{
    return sChatRoomDefinitionService;
}

void HCChatRoomDefinitionService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCChatRoomDefinition>(map);
    HCAddKnownResource<HCChatRoomInstance>(map);
}

HCRequestHandlePtr HCChatRoomDefinitionService::getPage(int32_t /*page*/, bool includeGlobalRooms,
                                                        bool includeDeveloperRooms, bool includeApplicationRooms,
                                                        bool includeLastVisitedRoom,
                                                        const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("include_global_rooms", includeGlobalRooms);
    parameters.io("include_application_rooms", includeApplicationRooms);
    parameters.io("include_developer_rooms", includeDeveloperRooms);
    parameters.io("include_last_visited_room", includeLastVisitedRoom);
    return service->getAction("chat_room_definitions.xml", &parameters, onSuccess, onFailure,
                              HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloaded Chat Rooms"));
}

HCRequestHandlePtr HCChatRoomDefinitionService::getIndex(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    return getPage(1, true, true, true, true, onSuccess, onFailure);
}
