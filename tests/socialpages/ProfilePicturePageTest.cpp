// The profile picture page as the player works it against the local server:
// the rows it offers, a picture chosen or uploaded, and the refresh.
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/routes/PictureRoutes.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "social/users/HCUsersCredential.h"
#include "socialpages/picture/HCProfilePictureCell.h"
#include "socialpages/picture/HCSelectProfilePictureController.h"

namespace {

using Page = HCSelectProfilePictureController;

class ProfilePicturePageTest : public pagetest::PageHarness {
protected:
    void start(bool facebook, bool twitter)
    {
        startOnline();
        server->setClock([this] { return static_cast<std::int64_t>(clock->now()); });
        auto ann = server->accounts().user("1001");
        ann->credentials.clear();
        if (facebook) ann->credentials.push_back("fbconnect");
        if (twitter) ann->credentials.push_back("twitter");
        server->accounts().addUser(*ann);
    }
    std::shared_ptr<Page> open()
    {
        openPage("SelectProfilePicture");
        return topPageAs<Page>();
    }
    // Per row: its label (or "badge" for a network's), "*" when checked.
    std::vector<std::string> rows()
    {
        std::vector<std::string> out;
        auto page = topPageAs<Page>();
        for (int i = 0; i < page->tableView()->numberOfRowsInSection(0); ++i) {
            auto cell = std::dynamic_pointer_cast<HCProfilePictureCell>(page->tableView()->cellForRowAtIndexPath({0, i}));
            if (!cell) continue;
            std::string text = cell->credentialTextLabel()->isHidden() ? "badge" : cell->credentialTextLabel()->text();
            out.push_back(text + (cell->checkmark()->isHidden() ? "" : " *"));
        }
        return out;
    }
    static std::vector<std::string> alertMessages()
    {
        std::vector<std::string> out;
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) out.push_back(alert->message());
        return out;
    }
    void useSource(const char* source, const char* url)
    {
        auto player = Halcyon::localUser();
        player->setProfilePictureSource(std::string(source));
        player->setProfilePictureUrl(std::string(url));
        Halcyon::setLocalUser(player);
    }
};

TEST_F(ProfilePicturePageTest, TheCheckMarkFollowsWhereThePictureComesFrom)
{
    start(true, false);
    useSource("Upload", "");
    open();
    EXPECT_EQ(rows(), (std::vector<std::string>{"badge", "badge", "Choose your own!", "Default Halcyon Icon *"}));
    useSource("Upload", "images/mine.png");
    topPageAs<Page>()->reloadDataFromServer();
    waitForIdle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"badge", "badge", "Choose your own! *", "Default Halcyon Icon"}));
}

TEST_F(ProfilePicturePageTest, TheDefaultRowDropsTheOwnPictureAndRefreshesItOnly)
{
    start(true, true);
    open();
    ASSERT_TRUE(tapRow("Default Halcyon Icon"));
    waitForIdle();
    EXPECT_EQ(requestsTo("profile_picture/select/http_basic"), 1u);
    EXPECT_EQ(lastParam("profile_picture/select/http_basic", "uploaded_profile_picture"), "");
    EXPECT_EQ(requestsTo("profile_picture/refresh"), 1u);
    EXPECT_EQ(Halcyon::localUser()->profilePictureSource(), "Upload");
    EXPECT_FALSE(Halcyon::localUser()->profilePictureUrl());
    EXPECT_TRUE(alertMessages().empty());
    EXPECT_TRUE(topPageAs<Page>()->refreshButton()->isEnabled());
}

TEST_F(ProfilePicturePageTest, RefusedChoicesTakeTheLoadingScreenDownAndSaySo)
{
    start(false, false);
    open();
    // Twitter is not linked: the server refuses it even if the page asked.
    auto twitter = std::make_shared<HCUsersCredential>();
    twitter->setCredentialType(std::string("twitter"));
    twitter->setIsLinked(std::string("true"));
    auto page = topPageAs<Page>();
    page->onCellWasClicked(twitter, {0, 0});
    EXPECT_TRUE(showsLoadingScreen());
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(alertMessages(), std::vector<std::string>{Page::kSaveFailedMessage});
}

TEST_F(ProfilePicturePageTest, AnUnlinkedNetworkOpensItsLoginForm)
{
    start(false, false);
    auto page = open();
    auto facebook = page->getResourceAtIndexPath({0, 1});
    ASSERT_TRUE(platform::as<HCUsersCredential>(facebook));
    page->tableView()->selectRowAtIndexPath(platform::ui::IndexPath{0, 1}, false, platform::ui::TableViewScrollPosition::None);
    page->onCellWasClicked(facebook, {0, 1});
    settle();
    EXPECT_NE(topPage(), page);
    EXPECT_EQ(page->tableView()->indexPathForSelectedRow(), (platform::ui::IndexPath{0, 1}));
}

}  // namespace
