// The invitations the player received: the list and the unread count, Edit
// and deleting (ignoring), the web page of one invitation, and the panel
// that tells of one over the game.
#include "core/halcyon/Halcyon.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/PageHarness.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCControllerLoader.h"
#include "platform/ui/NavigationItem.h"
#include "social/invitations/HCInviteDefinition.h"
#include "social/invitations/HCInviteService.h"
#include "socialpages/invitations/HCInvitationsController.h"
#include "socialpages/invitations/HCInviteNotificationController.h"
#include "socialpages/invitations/HCViewInviteController.h"

namespace {

class ReceivedInvitationsTest : public pagetest::PageHarness {
protected:
    // The local server files an invitation to every player named, the
    // sender included, so the player invites themself.
    void receive(const std::vector<std::string>& messages)
    {
        auto definition = HCResource::initWithId<HCInviteDefinition>(std::string("31"));
        for (const auto& message : messages) {
            bool done = false;
            auto finished = HCDelegate::withFunction([&](const platform::ObjectPtr&) { done = true; });
            HCInviteService::sendInvite(definition, message, {Halcyon::localUser()}, finished, finished);
            ASSERT_TRUE(testsupport::runMainUntil([&] { return done; }));
        }
    }

    // Lists them once, which the service counts as viewing them.
    void viewAll()
    {
        bool done = false;
        auto finished = HCDelegate::withFunction([&](const platform::ObjectPtr&) { done = true; });
        HCInviteService::getInvitesForUser(Halcyon::localUser(), 1, finished, finished);
        ASSERT_TRUE(testsupport::runMainUntil([&] { return done; }));
    }

    std::shared_ptr<HCInvitationsController> openList()
    {
        return std::dynamic_pointer_cast<HCInvitationsController>(openPage("Invitations"));
    }

    // Which rows show the "new" mark, top to bottom.
    std::vector<bool> freshMarks()
    {
        std::vector<bool> marks;
        auto list = topPageAs<HCInvitationsController>();
        auto table = list->tableView();
        for (int row = 0; row < table->numberOfRowsInSection(0); ++row) {
            auto cell = std::dynamic_pointer_cast<HCInviteCell>(list->cellForRowAtIndexPath(*table, {0, row}));
            marks.push_back(cell && !cell->freshnessIndicator()->isHidden());
        }
        return marks;
    }

    std::string rightButton() const
    {
        auto item = topPage()->navigationItem()->rightBarButtonItem();
        if (!item) return "none";
        if (item->systemItem() == platform::ui::SystemItem::Edit) return "Edit";
        if (item->systemItem() == platform::ui::SystemItem::Done) return "Done";
        return item->title();
    }
};

TEST_F(ReceivedInvitationsTest, UnviewedInvitationsLowerTheUnreadCountNeverBelowZero)
{
    startOnline();
    receive({"first"});
    viewAll();
    receive({"second", "third"});
    Halcyon::setUnreadInviteCount(5);
    auto list = openList();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->title(), "Invitations");
    EXPECT_EQ(Halcyon::unreadInviteCount(), 3);
    EXPECT_EQ(screenRows(), (std::vector<std::string>{"Tolvarine Ruvuru | Invited by Ann | third",
                                                      "Tolvarine Ruvuru | Invited by Ann | second",
                                                      "Tolvarine Ruvuru | Invited by Ann | first"}));
    EXPECT_EQ(freshMarks(), (std::vector<bool>{true, true, false}));

    HalcyonDashboard::getActiveNavigationController()->popToRootViewController(false);
    settle();
    receive({"fourth", "fifth"});
    Halcyon::setUnreadInviteCount(1);
    openList();
    EXPECT_EQ(Halcyon::unreadInviteCount(), 0);
}

TEST_F(ReceivedInvitationsTest, EditAppearsOnlyWithInvitationsAndDeletingIgnoresReloadingOnFailure)
{
    startOnline();
    auto empty = openList();
    EXPECT_EQ(rightButton(), "none");
    EXPECT_NE(platform::ui::Driver::labelsText(empty->view()).find("You have no unviewed game invitations at this time."),
              std::string::npos);
    HalcyonDashboard::getActiveNavigationController()->popToRootViewController(false);
    settle();

    receive({"first", "second"});
    auto list = openList();
    EXPECT_EQ(rightButton(), "Edit");
    ASSERT_TRUE(tapRightBarButton());
    EXPECT_EQ(rightButton(), "Done");
    ASSERT_TRUE(driver->deleteRow(list->tableView(), {0, 0}));
    waitForIdle();
    EXPECT_EQ(requestsTo("invites/502/ignore"), 1u);
    EXPECT_EQ(screenRows(), std::vector<std::string>{"Tolvarine Ruvuru | Invited by Ann | first"});

    // The service keeps the invitation: the list shows it again.
    const size_t loads = requestsTo("invites.xml");
    server->faults().injectFor("PUT", "invites/501/ignore", localserver::Fault::reply(500, "down"));
    ASSERT_TRUE(driver->deleteRow(list->tableView(), {0, 0}));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return requestsTo("invites.xml") > loads; }));
    waitForIdle();
    EXPECT_EQ(screenRows(), std::vector<std::string>{"Tolvarine Ruvuru | Invited by Ann | first"});
}

TEST_F(ReceivedInvitationsTest, IgnoringFromTheWebPagePopsBackToAListThatReloads)
{
    startOnline();
    receive({"first"});
    openList();
    const size_t loads = requestsTo("invites.xml");
    ASSERT_TRUE(tapRow("first"));
    settle();
    auto page = topPageAs<HCViewInviteController>();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title(), "Invitation");
    EXPECT_EQ(page->pageURL(), server->serviceRootUrl() + "client_webviews/invites/501");
    EXPECT_TRUE(page->dispatchWebAction("halcyon://ignoreInvite/501"));
    settle();
    waitForIdle();
    ASSERT_TRUE(topPageAs<HCInvitationsController>());
    EXPECT_EQ(requestsTo("invites.xml"), loads + 1);

    // Over another page the web page only leaves.
    auto other = HCViewInviteController::viewInviteControllerWithInviteId(std::string("501"));
    HalcyonDashboard::getActiveNavigationController()->popToRootViewController(false);
    settle();
    HalcyonDashboard::getActiveNavigationController()->pushViewController(other, false);
    settle();
    EXPECT_TRUE(other->dispatchWebAction("halcyon://ignoreInvite/501"));
    settle();
    EXPECT_FALSE(topPageAs<HCViewInviteController>());
}

TEST_F(ReceivedInvitationsTest, ThePanelClosesTheOverlayOrOnlyItselfInsideTheDashboard)
{
    startOnline();
    auto ann = Halcyon::localUser();
    auto overlay = HCInviteNotificationController::showInviteNotification("Ben invites you to play", ann, "Invitation");
    settle();
    ASSERT_TRUE(overlay);
    ASSERT_TRUE(HalcyonDashboard::getRootController());
    EXPECT_EQ(HalcyonDashboard::getRootController()->contentController(), overlay);
    EXPECT_EQ(overlay->notificationText()->text(), "Ben invites you to play");
    ASSERT_TRUE(tapButton("Close"));
    settle();
    EXPECT_FALSE(HalcyonDashboard::getRootController());

    openList();
    auto panel = HCControllerLoader::load<HCInviteNotificationController>("InviteNotification");
    HalcyonDashboard::getActiveNavigationController()->pushViewController(panel, false);
    settle();
    panel->dismiss();
    settle();
    EXPECT_TRUE(HalcyonDashboard::getRootController());
    EXPECT_TRUE(topPageAs<HCInvitationsController>());
}

}  // namespace
