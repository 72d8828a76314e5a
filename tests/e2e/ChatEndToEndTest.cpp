// Chat against the local server with the whole client running: the kinds
// and rooms on the wire, the last room answered from memory for ten seconds
// of elapsed time, joins that empty the poller's lines and poll at once,
// rejoins that do not, and joins that overlap.
#include <gtest/gtest.h>

#include "core/halcyon/Halcyon.h"
#include "e2e/support/SocialClientTest.h"
#include "social/chat/HCChatMessage.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomDefinitionService.h"
#include "social/chat/HCChatRoomInstance.h"
#include "social/chat/HCChatRoomInstanceService.h"
#include "transport/poller/HCPoller.h"

namespace {

constexpr const char* kActivities = "users/@me/activities.xml";
constexpr const char* kShow = "chat_room_instances/show";

class ChatEndToEndTest : public SocialClientTest {
protected:
    void SetUp() override
    {
        SocialClientTest::SetUp();
        start();
        observe("halcyon_chat_message_discovered");
    }

    static HCChatRoomInstancePtr room(const char* id)
    {
        return HCResource::initWithId<HCChatRoomInstance>(std::string(id));
    }

    HCChatRoomInstancePtr loadLastRoom()
    {
        Reached reached;
        HCChatRoomInstanceService::loadLastRoomJoined(reached.success(), reached.failure());
        EXPECT_TRUE(waitFor(reached));
        EXPECT_FALSE(reached.failed);
        return platform::as<HCChatRoomInstance>(reached.object);
    }

    void join(const char* id, bool rejoining)
    {
        Reached reached;
        ASSERT_TRUE(HCChatRoomInstanceService::attemptToJoinRoom(room(id), rejoining, reached.success(),
                                                                 reached.failure()));
        ASSERT_TRUE(waitFor(reached));
        ASSERT_FALSE(reached.failed);
        settle();
    }

    std::vector<std::string> linesPosted() const
    {
        std::vector<std::string> lines;
        for (const auto& n : posted) {
            auto list = n.userInfo ? n.userInfo->get<platform::Array>(HCPollerNotificationKeyResources) : nullptr;
            if (!list) continue;
            for (const auto& item : list->items()) {
                auto message = platform::as<HCChatMessage>(item);
                if (message && message->user())
                    lines.push_back(message->user()->name().value_or("?") + ": " + message->message().value_or(""));
            }
        }
        return lines;
    }
};

TEST_F(ChatEndToEndTest, KindsAreAskedWithTheirFlagsInOrderAndNoPage)
{
    Reached all;
    ASSERT_TRUE(HCChatRoomDefinitionService::getIndex(all.success(), all.failure()));
    ASSERT_TRUE(waitFor(all));
    auto request = server->log().entries().back().request;
    EXPECT_EQ(request.path, "chat_room_definitions.xml");
    std::vector<std::string> names;
    for (const auto& [name, value] : request.params) names.push_back(name + "=" + value);
    EXPECT_EQ(names, (std::vector<std::string>{"include_global_rooms=1", "include_application_rooms=1",
                                               "include_developer_rooms=1", "include_last_visited_room=1"}));
    ASSERT_TRUE(all.series());
    EXPECT_EQ(all.series()->count(), 3u);  // no room visited yet

    Reached global;
    HCChatRoomDefinitionService::getPage(1, true, false, false, false, global.success(), global.failure());
    ASSERT_TRUE(waitFor(global));
    ASSERT_EQ(global.series()->count(), 1u);
    auto definition = platform::as<HCChatRoomDefinition>(global.series()->objectAtIndex(0));
    ASSERT_TRUE(definition);
    EXPECT_TRUE(definition->isGlobalRoom());
    EXPECT_FALSE(definition->isDeveloperRoom() || definition->isApplicationRoom());

    Reached rooms;
    HCChatRoomInstanceService::getPage(1, definition, rooms.success(), rooms.failure());
    ASSERT_TRUE(waitFor(rooms));
    EXPECT_EQ(server->log().entries().back().request.param("chat_room_definition_id"), "1");
    ASSERT_EQ(rooms.series()->count(), 2u);
    auto first = platform::as<HCChatRoomInstance>(rooms.series()->objectAtIndex(0));
    EXPECT_EQ(first->roomName(), "Global 1");
    EXPECT_EQ(first->maxNumUsersInRoom(), 50);
    EXPECT_TRUE(first->isGlobalRoom());

    // A kind without an id is refused before any request.
    const size_t sent = server->log().entries().size();
    Reached refused;
    EXPECT_FALSE(HCChatRoomInstanceService::getPage(1, std::make_shared<HCChatRoomDefinition>(), refused.success(),
                                                    refused.failure()));
    ASSERT_TRUE(waitFor(refused));
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(server->log().entries().size(), sent);
}

TEST_F(ChatEndToEndTest, TheLastRoomIsAnsweredFromMemoryForTenSecondsOfElapsedTime)
{
    EXPECT_FALSE(loadLastRoom());
    EXPECT_FALSE(loadLastRoom());
    EXPECT_EQ(requestsTo(kShow), 1u);  // the second answered from memory, nil included

    clock->advance(10);
    join("11", false);
    clock->advance(10);
    auto last = loadLastRoom();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->roomName(), "Global 1");
    EXPECT_EQ(requestsTo(kShow), 2u);

    // The device's time is set back an hour: the room learnt just now is
    // still fresh, and stale after ten real seconds, not after an hour.
    clock->clock().set(clock->now() - 3600);
    EXPECT_TRUE(loadLastRoom());
    EXPECT_EQ(requestsTo(kShow), 2u);
    clock->advance(10);
    EXPECT_TRUE(loadLastRoom());
    EXPECT_EQ(requestsTo(kShow), 3u);
    // Set forward a day: the room is not thrown away early.
    clock->clock().set(clock->now() + 86400);
    EXPECT_TRUE(loadLastRoom());
    EXPECT_EQ(requestsTo(kShow), 3u);
}

TEST_F(ChatEndToEndTest, AFreshRoomStartsWithAllItsLinesAndARejoinKeepsThem)
{
    join("11", false);
    EXPECT_EQ(linesPosted(), (std::vector<std::string>{"Ben: Anyone past level 12?", "Cleo: Use the swirls & wait",
                                                       "Ben: Thanks <3"}));
    const auto polls = requestsTo(kActivities);
    EXPECT_GE(polls, 1u);

    // Rejoining asks for nothing new and the poller still knows the lines.
    posted.clear();
    join("11", true);
    EXPECT_EQ(requestsTo(kActivities), polls);
    Halcyon::forceImmediatePoll();
    settle();
    EXPECT_TRUE(linesPosted().empty());

    // A fresh join of the same room forgets them: every line comes again.
    join("11", false);
    EXPECT_EQ(linesPosted().size(), 3u);
    EXPECT_EQ(requestsTo(kActivities), polls + 2);
    EXPECT_EQ(HCChatRoomInstanceService::getCachedLastRoomJoined()->resourceId(), "11");
    EXPECT_FALSE(HCChatRoomInstanceService::sharedInstance()->roomJoining());
}

TEST_F(ChatEndToEndTest, TwoJoinsThatOverlapEachRecordTheirOwnRoom)
{
    Reached first, second;
    ASSERT_TRUE(HCChatRoomInstanceService::attemptToJoinRoom(room("21"), true, first.success(), first.failure()));
    ASSERT_TRUE(HCChatRoomInstanceService::attemptToJoinRoom(room("31"), true, second.success(), second.failure()));
    ASSERT_TRUE(waitUntil([&] { return first.calls && second.calls; }));
    // Whichever reply came last names its own room; neither is lost.
    auto service = HCChatRoomInstanceService::sharedInstance();
    ASSERT_TRUE(service->lastRoom());
    const auto last = service->lastRoom()->resourceId().value_or("");
    EXPECT_TRUE(last == "21" || last == "31") << last;
    EXPECT_FALSE(service->roomJoining());
    EXPECT_FALSE(service->rejoiningRoom());

    // A failed join leaves its room as the one under way; the last room stays.
    Reached full;
    join("12", true);
    server->log().clear();
    HCChatRoomInstanceService::attemptToJoinRoom(room("404"), false, full.success(), full.failure());
    ASSERT_TRUE(waitFor(full));
    EXPECT_TRUE(full.failed);
    EXPECT_EQ(service->lastRoom()->resourceId(), "12");
    EXPECT_EQ(service->roomJoining()->resourceId(), "404");
}

}  // namespace
