#include "socialpages/chat/HCSelectChatRoomDefinitionController.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomDefinitionService.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "socialpages/chat/HCSelectChatRoomInstanceController.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCService> HCSelectChatRoomDefinitionController::getService()
{
    return HCChatRoomDefinitionService::sharedInstance();
}

void HCSelectChatRoomDefinitionController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCChatRoomDefinition>("ChatRoomDefinition");
    map.addResourceClass<HCChatRoomInstance>("ChatRoomInstance");
}

void HCSelectChatRoomDefinitionController::doIndexActionOnSuccess(const HCDelegate& onSuccess,
                                                                  const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCChatRoomDefinitionService::getPage(includeGlobalRooms_, includeDeveloperRooms_, includeApplicationRooms_, true,
                                         onSuccess, onFailure);
}

void HCSelectChatRoomDefinitionController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCChatRoomJoiningPage::viewWillAppear(animated);
    showLastVisitedRoom();
    if (!HCChatRoomInstanceService::getCachedLastRoomJoined()) return;
    std::weak_ptr<HCSelectChatRoomDefinitionController> weakSelf =
        std::static_pointer_cast<HCSelectChatRoomDefinitionController>(platform::self(this));
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withTitle(
        kRejoinTitle, platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->onClickedButton();
        }));
}

void HCSelectChatRoomDefinitionController::showLastVisitedRoom()
{
    auto room = HCChatRoomInstanceService::getCachedLastRoomJoined();
    if (!room || sections().empty()) return;
    const auto& first = sections().front();
    if (first->count() == 1 && platform::as<HCChatRoomInstance>(first->objectAtIndex(0)) && first->page()) {
        first->page()->setObjects({room});
        tableView()->reloadData();
        return;
    }
    HCPaginatedSeries::Objects all{
        std::make_shared<HCTableSectionDescription>(std::string(kLastVisitedTitle),
                                                    HCPaginatedSeries::paginatedSeriesWithObject(room))};
    for (const auto& section : sections()) all.push_back(section);
    _onDataLoaded(HCPaginatedSeries::paginatedSeriesFromArray(all), false);
}

void HCSelectChatRoomDefinitionController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    if (auto definition = platform::as<HCChatRoomDefinition>(resource)) {
        showLoadingScreen();
        auto self = platform::self(this);
        HCChatRoomInstanceService::getPage(
            1, definition, HCDelegate(self, &HCSelectChatRoomDefinitionController::onLoadedInstances),
            HCDelegate(self, &HCSelectChatRoomDefinitionController::onFailedLoadingInstances));
    } else if (auto room = platform::as<HCChatRoomInstance>(resource)) {
        showLoadingScreen();
        attemptToJoinRoom(room);
    }
}

void HCSelectChatRoomDefinitionController::onClickedButton()
{
    HC_CHECK_MAIN_THREAD();
    auto room = HCChatRoomInstanceService::getCachedLastRoomJoined();
    if (!room) return;
    showLoadingScreen();
    attemptToJoinRoom(room);
}

void HCSelectChatRoomDefinitionController::onLoadedInstances(std::shared_ptr<HCPaginatedSeries> instances)
{
    HC_CHECK_MAIN_THREAD();
    if (isInHiddenTab()) {
        hideLoadingScreen();
        return;
    }
    std::vector<HCChatRoomInstancePtr> rooms;
    if (instances) {
        for (const auto& object : instances->objects())
            if (auto room = platform::as<HCChatRoomInstance>(object)) rooms.push_back(room);
    }
    if (rooms.empty()) {
        onFailedLoadingInstances(nullptr);
    } else if (rooms.size() == 1) {
        attemptToJoinRoom(rooms.front());
    } else {
        hideLoadingScreen();
        auto list = HCControllerLoader::load<HCSelectChatRoomInstanceController>("SelectChatRoomInstance");
        auto navigation = navigationController();
        if (!list || !navigation) return;
        list->setPreLoadedChatRoomInstances(std::move(rooms));
        navigation->pushViewController(list, true);
    }
}

void HCSelectChatRoomDefinitionController::onFailedLoadingInstances(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    pushErrorScreen(navigationController(), kRoomsFailedMessage);
}
