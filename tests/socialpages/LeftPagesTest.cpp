// A page the player went back from is gone: nothing the dashboard keeps may
// hold it, or every visit would leave one more page alive, still hearing its
// requests, notices and timers.
#include <memory>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/ConversationRoutes.h"
#include "platform/ui/ViewController.h"
#include "socialpages/chat/HCChatRoomController.h"
#include "socialpages/chat/HCSelectChatRoomDefinitionController.h"
#include "socialpages/conversations/HCConversationController.h"

namespace {

class LeftPagesTest : public pagetest::PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        localserver::registerConversationRoutes(*server, forums);
    }
    // The player goes back from the top page, and an hour passes.
    std::weak_ptr<platform::ui::ViewController> leaveTopPage()
    {
        std::weak_ptr<platform::ui::ViewController> left = topPage();
        EXPECT_TRUE(driver->tapBack());
        settle();
        clock->advance(3600);
        settle();
        return left;
    }
};

TEST_F(LeftPagesTest, TheRoomListTheRoomAndAConversationAreFreedOnceTheyAreLeft)
{
    startOnline();
    openPage("SelectChatRoomDefinition", [](const platform::ui::ViewControllerPtr& page) {
        std::dynamic_pointer_cast<HCSelectChatRoomDefinitionController>(page)->setIncludeDeveloperRooms(true);
    });
    ASSERT_TRUE(tapRow("Developers"));
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCChatRoomController>());
    EXPECT_TRUE(leaveTopPage().expired()) << "the chat room";
    ASSERT_TRUE(topPageAs<HCSelectChatRoomDefinitionController>());
    EXPECT_TRUE(leaveTopPage().expired()) << "the list of rooms";

    openPage("Conversation", [](const platform::ui::ViewControllerPtr& page) {
        auto ben = HCResource::initWithId<HCUser>(std::string(localserver::defaults::kOtherUserId));
        ben->setName("Ben");
        std::dynamic_pointer_cast<HCConversationController>(page)->setConversationUser(ben);
    });
    ASSERT_TRUE(topPageAs<HCConversationController>());
    EXPECT_TRUE(leaveTopPage().expired()) << "the conversation";
}

}  // namespace
