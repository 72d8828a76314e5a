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
#include "uiframework/HCPageRequestDelegates.h"

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
    HCChatRoomDefinitionService::getPage(1, includeGlobalRooms_, includeDeveloperRooms_, includeApplicationRooms_, true,
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
    enteringRoomChanged();
}

void HCSelectChatRoomDefinitionController::enteringRoomChanged()
{
    // The loading screen covers the rows but not the bar.
    if (auto rejoin = navigationItem()->rightBarButtonItem()) rejoin->setEnabled(!isEnteringRoom());
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
        if (!beginEnteringRoom()) return;
        showLoadingScreen();
        auto self = std::static_pointer_cast<HCSelectChatRoomDefinitionController>(platform::self(this));
        auto [loaded, failed] = pageRequestDelegates<HCSelectChatRoomDefinitionController>(
            self,
            [](auto& page, const platform::ObjectPtr& rooms) {
                page.onLoadedInstances(platform::as<HCPaginatedSeries>(rooms));
            },
            [](auto& page, const platform::ObjectPtr&) {
                page.endEnteringRoom();
                page.hideLoadingScreen();
            },
            [](auto& page, const platform::ObjectPtr&) {
                pushErrorScreen(page.navigationController(), kRoomsFailedMessage);
            });
        HCChatRoomInstanceService::getPage(1, definition, loaded, failed);
    } else if (auto room = platform::as<HCChatRoomInstance>(resource)) {
        enterRoom(room);
    }
}

void HCSelectChatRoomDefinitionController::onClickedButton()
{
    HC_CHECK_MAIN_THREAD();
    enterRoom(HCChatRoomInstanceService::getCachedLastRoomJoined());
}

void HCSelectChatRoomDefinitionController::onLoadedInstances(const HCPaginatedSeriesPtr& instances)
{
    HC_CHECK_MAIN_THREAD();
    if (isInHiddenTab()) {
        endEnteringRoom();
        hideLoadingScreen();
        return;
    }
    std::vector<HCChatRoomInstancePtr> rooms;
    if (instances) {
        for (const auto& object : instances->objects())
            if (auto room = platform::as<HCChatRoomInstance>(object)) rooms.push_back(room);
    }
    if (rooms.empty()) {
        // A kind without rooms is a failed list: told only on the page that asked.
        const bool shown = pageIsShown(*this);
        endEnteringRoom();
        hideLoadingScreen();
        if (shown) pushErrorScreen(navigationController(), kRoomsFailedMessage);
    } else if (rooms.size() == 1) {
        attemptToJoinRoom(rooms.front());
    } else {
        endEnteringRoom();
        hideLoadingScreen();
        auto list = HCControllerLoader::load<HCSelectChatRoomInstanceController>("SelectChatRoomInstance");
        auto navigation = navigationController();
        if (!list || !navigation) return;
        list->setPreLoadedChatRoomInstances(std::move(rooms));
        navigation->pushViewController(list, true);
    }
}
