// Chat resources read from replies: room types compared exactly, and a
// line's date kept as the text the server sent.
#include <gtest/gtest.h>

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/xml/HCXmlDocument.h"
#include "social/chat/HCChatMessage.h"
#include "social/chat/HCChatMessageService.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomDefinitionService.h"
#include "social/chat/HCChatRoomInstance.h"

namespace {

class ChatResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCChatRoomDefinitionService::initializeService();
        HCChatMessageService::initializeService();
    }
    void TearDown() override
    {
        HCChatMessageService::shutdownService();
        HCChatRoomDefinitionService::shutdownService();
    }

    template <class T, class S>
    static std::shared_ptr<T> readOne(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData("<resources>" + xml + "</resources>");
        auto series = HCResource::resourcesFromXml(*document, S::sharedInstance()->getKnownResources().get());
        return series->count() == 1 ? platform::as<T>(series->objectAtIndex(0)) : nullptr;
    }

    // "g", "d", "a" for the room kinds a type answers yes to.
    template <class T>
    static std::string kinds(const std::string& typeElement)
    {
        auto room = readOne<T, HCChatRoomDefinitionService>("<" + std::make_shared<T>()->getResourceName() +
                                                            "><id>1</id>" + typeElement + "</" +
                                                            std::make_shared<T>()->getResourceName() + ">");
        if (!room) return "unread";
        return std::string(room->isGlobalRoom() ? "g" : "") + (room->isDeveloperRoom() ? "d" : "") +
               (room->isApplicationRoom() ? "a" : "");
    }
};

TEST_F(ChatResourcesTest, RoomTypesAreComparedExactly)
{
    EXPECT_EQ(kinds<HCChatRoomDefinition>("<room_type>global_room</room_type>"), "g");
    EXPECT_EQ(kinds<HCChatRoomDefinition>("<room_type>developer_room</room_type>"), "d");
    EXPECT_EQ(kinds<HCChatRoomInstance>("<room_type>application_room</room_type>"), "a");
    for (const char* other : {"<room_type>Global_Room</room_type>", "<room_type> global_room</room_type>",
                              "<room_type></room_type>", ""}) {
        EXPECT_EQ(kinds<HCChatRoomDefinition>(other), "") << other;
        EXPECT_EQ(kinds<HCChatRoomInstance>(other), "") << other;
    }
}

TEST_F(ChatResourcesTest, ALineKeepsItsDateAsSentAndItsSpeaker)
{
    auto line = readOne<HCChatMessage, HCChatMessageService>(
        "<chat_message><id>7</id><message>Hi &amp; bye</message><date>yesterday-ish</date>"
        "<local_user_owns_application>1</local_user_owns_application>"
        "<user><id>3</id><name>Cleo</name></user></chat_message>");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->message(), "Hi & bye");
    EXPECT_EQ(line->date(), "yesterday-ish");
    EXPECT_TRUE(line->doesLocalPlayerOwnGame());
    ASSERT_TRUE(line->user());
    EXPECT_EQ(line->user()->name(), "Cleo");
}

}  // namespace
