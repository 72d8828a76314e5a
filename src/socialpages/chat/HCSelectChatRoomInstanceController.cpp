#include "socialpages/chat/HCSelectChatRoomInstanceController.h"

#include "platform/runtime/ThreadChecker.h"
#include "social/chat/HCChatRoomInstanceService.h"

std::shared_ptr<HCService> HCSelectChatRoomInstanceController::getService()
{
    return HCChatRoomInstanceService::sharedInstance();
}

void HCSelectChatRoomInstanceController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCChatRoomInstance>("ChatRoomInstance");
}

void HCSelectChatRoomInstanceController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate&)
{
    HCPaginatedSeries::Objects rooms(instances_.begin(), instances_.end());
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray(rooms));
}

void HCSelectChatRoomInstanceController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    enterRoom(platform::as<HCChatRoomInstance>(resource));
}
