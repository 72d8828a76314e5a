#include "socialpages/forums/HCForumTopicListController.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "social/forums/HCForumService.h"
#include "social/forums/HCForumTopic.h"
#include "socialpages/forums/HCChatRoomDefinitionChooser.h"
#include "socialpages/forums/HCForumThreadListController.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCForumTopicListController> HCForumTopicListController::topicBrowser()
{
    return HCControllerLoader::load<HCForumTopicListController>("ForumTopicList");
}

std::shared_ptr<HCService> HCForumTopicListController::getService()
{
    return HCForumService::sharedInstance();
}

void HCForumTopicListController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCForumTopic>("ForumTopic");
}

void HCForumTopicListController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto game = getPageContextGame();
    if (!game) game = Halcyon::localGameProfileInfo();
    HCForumService::getTopicsForApplication(game ? game->resourceId() : std::nullopt, onSuccess, onFailure);
}

void HCForumTopicListController::viewWillAppear(bool animated)
{
    setTitle("Forums & Chat");
    HCTableSequenceControllerHelper::viewWillAppear(animated);
}

void HCForumTopicListController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto topic = platform::as<HCForumTopic>(resource);
    auto navigation = navigationController();
    if (!topic || !navigation) return;
    if (topic->resourceId() && !topic->resourceId()->empty()) {
        if (auto threads = HCForumThreadListController::threadBrowser(topic)) navigation->pushViewController(threads, true);
        return;
    }
    auto rooms = HCControllerLoader::load("SelectChatRoomDefinition");
    auto chooser = std::dynamic_pointer_cast<HCChatRoomDefinitionChooser>(rooms);
    if (!chooser) return;
    chooser->setIncludeGlobalRooms(true);
    chooser->setIncludeApplicationRooms(false);
    chooser->setIncludeDeveloperRooms(false);
    navigation->pushViewController(rooms, true);
}
