#include "socialpages/inbox/HCInboxNotice.h"

#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/inbox/HCInboxController.h"
#include "uiframework/HCControllerLoader.h"

HCNotificationDataPtr HCInboxNotice::noticeFor(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    auto shown = navigation ? navigation->topViewController() : nullptr;
    HCUserPtr user;
    std::string text;
    int type = HCNotificationTypeNone;
    if (auto online = platform::as<HCUser>(resource); online && online->online() && !online->isLocalUser()) {
        user = online;
        text = online->name().value_or("A friend") + " is online";
        type = HCNotificationTypeUserPresenceOnline;
    } else if (auto post = platform::as<HCForumPost>(resource); post && post->isDiscussionConversation()) {
        auto conversation = std::dynamic_pointer_cast<HCConversationController>(shown);
        if (conversation && conversation->conversationId() == post->discussionId()) return nullptr;
        user = post->author();
        if (user && user->isLocalUser()) return nullptr;
        auto name = user ? user->name() : std::nullopt;
        text = "New message from " + name.value_or("a friend");
        type = HCNotificationTypeNewMessage;
    } else {
        return nullptr;
    }
    if (auto inbox = std::dynamic_pointer_cast<HCInboxController>(shown)) inbox->reloadDataFromServer();
    auto notice = HCNotificationData::dataWithText(text, HCNotificationCategoryPresence, type);
    if (user) {
        if (auto page = HCControllerLoader::load<HCInboxController>("InboxIMConversations")) {
            page->initAndBeginConversationWith(user);
            notice->notificationUserData = page;
        }
    }
    return notice;
}
