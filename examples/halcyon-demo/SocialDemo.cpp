#include "SocialDemo.h"

#include <memory>
#include <vector>

#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "platform/foundation/NotificationCenter.h"
#include "social/announcements/HCAnnouncement.h"
#include "social/announcements/HCAnnouncementService.h"
#include "social/chat/HCChatMessage.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomDefinitionService.h"
#include "social/chat/HCChatRoomInstance.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "social/conversations/HCConversation.h"
#include "social/conversations/HCConversationService.h"
#include "social/forums/HCForumPost.h"
#include "transport/poller/HCPoller.h"

namespace {

template <class T>
std::vector<std::shared_ptr<T>> objectsOf(const platform::ObjectPtr& reply)
{
    std::vector<std::shared_ptr<T>> out;
    if (auto series = platform::as<HCPaginatedSeries>(reply))
        for (const auto& object : series->objects())
            if (auto typed = platform::as<T>(object)) out.push_back(typed);
    return out;
}

}  // namespace

bool showChat(const DemoFrames& demo)
{
    auto kinds = objectsOf<HCChatRoomDefinition>(await(demo, [](HCDelegate success, HCDelegate failure) {
        HCChatRoomDefinitionService::getIndex(success, failure);
    }));
    HCChatRoomDefinitionPtr global;
    for (const auto& kind : kinds)
        if (!global && kind->isGlobalRoom()) global = kind;
    if (!global) {
        demo.say("chat: no global chat room");
        return false;
    }
    auto rooms = objectsOf<HCChatRoomInstance>(await(demo, [&](HCDelegate success, HCDelegate failure) {
        HCChatRoomInstanceService::getPage(1, global, success, failure);
    }));
    if (rooms.empty()) {
        demo.say("chat: the global chat room has no rooms");
        return false;
    }

    // Lines arrive through the activity poller, as a chat page receives them.
    std::vector<std::string> lines;
    auto& center = platform::NotificationCenter::defaultCenter();
    const int observer = 0;
    center.addObserver(&observer, "halcyon_chat_message_discovered", [&](const platform::Notification& n) {
        auto list = n.userInfo ? n.userInfo->get<platform::Array>(HCPollerNotificationKeyResources) : nullptr;
        if (!list) return;
        for (const auto& item : list->items())
            if (auto line = platform::as<HCChatMessage>(item))
                lines.push_back((line->user() ? line->user()->name().value_or("?") : "?") + ": " +
                                line->message().value_or(""));
    });
    auto joined = objectsOf<HCChatRoomInstance>(await(demo, [&](HCDelegate success, HCDelegate failure) {
        HCChatRoomInstanceService::attemptToJoinRoom(rooms.front(), false, success, failure);
    }));
    for (int i = 0; i < demo.frames && !joined.empty() && lines.empty(); ++i)
        demo.frame([&] { return !lines.empty(); });
    center.removeObserver(&observer);
    if (joined.empty()) {
        demo.say("chat: could not join " + rooms.front()->roomName().value_or("?"));
        return false;
    }
    demo.say("chat: joined " + joined.front()->roomName().value_or("?") + " (" +
             std::to_string(joined.front()->numUsersInRoom()) + " of " +
             std::to_string(joined.front()->maxNumUsersInRoom()) + " players), its last lines:");
    for (const auto& line : lines) demo.say("chat:   " + line);
    return !lines.empty();
}

bool showAnnouncements(const DemoFrames& demo)
{
    // The log-in downloaded them; the kept list is there once it is answered.
    auto kept = [] {
        auto service = HCAnnouncementService::sharedInstance();
        return service && service->announcements();
    };
    for (int i = 0; i < demo.frames && !kept(); ++i) demo.frame(kept);
    if (!kept()) {
        demo.say("announcements: none downloaded");
        return false;
    }
    const auto list = HCAnnouncementService::sharedInstance()->announcements();
    demo.say("announcements: " + std::to_string(HCAnnouncementService::unreadAnnouncements()) + " unread of " +
             std::to_string(list->count()) + ", sticky ones first:");
    for (const auto& object : list->objects()) {
        auto announcement = platform::as<HCAnnouncement>(object);
        if (!announcement) continue;
        demo.say("announcements:   " + std::string(announcement->isSticky() ? "[sticky] " : "") +
                 announcement->title().value_or("?") + (announcement->isImportant() ? " (important)" : ""));
    }
    return true;
}

bool showConversation(const DemoFrames& demo, const std::string& friendId)
{
    auto started = objectsOf<HCConversation>(await(demo, [&](HCDelegate success, HCDelegate failure) {
        HCConversationService::startConversationWithUser(friendId, success, failure);
    }));
    if (started.size() != 1 || !started[0]->otherUser()) {
        demo.say("conversation: could not be started");
        return false;
    }
    const auto conversation = started[0];
    const std::string name = conversation->otherUser()->name().value_or("?");
    auto posted = objectsOf<HCForumPost>(await(demo, [&](HCDelegate success, HCDelegate failure) {
        HCConversationService::postMessage("See you in the global room", conversation->resourceId(), success,
                                           failure);
    }));
    if (posted.empty()) {
        demo.say("conversation: the line to " + name + " was not posted");
        return false;
    }
    auto history = objectsOf<HCForumPost>(await(demo, [&](HCDelegate success, HCDelegate failure) {
        HCConversationService::getConversationHistory(conversation->resourceId(), 1, success, failure);
    }));
    demo.say("conversation: with " + name + ", posted \"" + posted[0]->body().value_or("") + "\"; " +
             std::to_string(history.size()) + " line" + (history.size() == 1 ? "" : "s") + " in it now");
    return !history.empty();
}
