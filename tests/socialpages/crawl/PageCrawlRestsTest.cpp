// The crawl's wait for rest against the order a busy machine brings: a
// reply that runs while the crawl waits may open a page, and that page
// starts its load only once it has slid in.
#include <string>
#include <vector>

#include "core/halcyon/Halcyon.h"
#include "localserver/Faults.h"
#include "socialpages/chat/HCSelectChatRoomInstanceController.h"
#include "socialpages/crawl/PageCrawl.h"
#include "support/TestSupport.h"

namespace {

using PageCrawlRests = crawltest::PageCrawl;

TEST_F(PageCrawlRests, APageAReplyOpensHasLoadedOnceTheScreenRests)
{
    startOnline();
    Halcyon::launchDashboardWithListGlobalChatRoomsPage();
    settle();
    ASSERT_TRUE(rests("the kinds of room"));
    // The kind's rooms are answered only after the tap has settled, as on a
    // loaded machine: their reply pushes the list of rooms, which is then
    // on top but still sliding in, its rows not loaded yet.
    server->faults().injectFor("GET", "chat_room_instances.xml", localserver::Fault::heldBack());
    ASSERT_TRUE(tapRow("Global"));
    ASSERT_TRUE(serverHolds());
    server->faults().releaseHeld();
    ASSERT_TRUE(testsupport::runMainUntil([&] { return topPageAs<HCSelectChatRoomInstanceController>() != nullptr; }));

    ASSERT_TRUE(rests("the rooms of the global kind"));
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Global 1 | 0/50", "Global 2 | 0/1"}));
}

}  // namespace
