#include "socialpages/HCSocialPages.h"

#include "gamepages/fanclub/HCFanClubController.h"
#include "platform/runtime/ClassRegistry.h"
#include "social/forums/HCForumTopic.h"
#include "socialpages/forums/HCForumCells.h"
#include "socialpages/forums/HCForumThreadListController.h"
#include "socialpages/forums/HCForumThreadViewController.h"
#include "socialpages/forums/HCForumTopicListController.h"
#include "socialpages/forums/HCPostNewMessage.h"
#include "socialpages/friends/HCProfilePagesRegistration.h"

void HCSocialPages::registerClasses()
{
    platform::registerClass<HCForumTopicListController>("HCForumTopicListController");
    platform::registerClass<HCForumThreadListController>("HCForumThreadListController");
    platform::registerClass<HCForumThreadViewController>("HCForumThreadViewController");
    // Loaded as "PostNewMessage".
    platform::registerClass<HCPostNewMessage>("HCPostNewMessageController");
    platform::registerClass<HCForumTopicCell>("HCForumTopicCell");
    platform::registerClass<HCForumThreadCell>("HCForumThreadCell");
    platform::registerClass<HCForumPostCell>("HCForumPostCell");
    platform::registerClass<HCForumSubscribeButtonCell>("HCForumSubscribeButtonCell");
    HCFanClubController::setSuggestionBrowserMaker([](const std::optional<std::string>& forumId) {
        return HCForumThreadListController::threadBrowser(HCForumTopic::suggestionsTopic(forumId));
    });
    registerProfilePageClasses();
}
