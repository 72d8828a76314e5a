// My Halcyon's buttons as a finger finds them, on a phone and a tablet held
// upright or sideways, with user content open and closed (the inbox hidden,
// settings and help moved up): a tap on the middle of each button the player
// sees opens that button's own page, whatever lies where.
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/halcyon/Halcyon.h"
#include "gamepages/support/PageHarness.h"
#include "support/BannerWindow.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "socialpages/profile/HCMyHalcyonController.h"

namespace {

using platform::ui::InterfaceOrientation;

struct Hold {
    const char* name;
    bool largeScreen;
    InterfaceOrientation orientation;
    bool userContent;
};

void PrintTo(const Hold& hold, std::ostream* out)
{
    *out << hold.name;
}

class MyHalcyonButtonsTest : public pagetest::PageHarness, public ::testing::WithParamInterface<Hold> {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        usePagesAsTabs({{"MyHalcyon", "My Halcyon"}});
        platform::DeviceFacts::setLargeScreen(GetParam().largeScreen);
        // The window covers the screen this device has.
        window = testsupport::BannerWindow::show();
        if (!GetParam().userContent) disallowUserGeneratedContent();
        startOnline();
        Halcyon::setDashboardOrientation(static_cast<int>(GetParam().orientation));
    }

    // The shown button on the hub that reads `title`; nil when the player sees none.
    std::shared_ptr<platform::ui::Button> shownButton(const std::shared_ptr<HCMyHalcyonController>& hub,
                                                      const std::string& title) const
    {
        for (const auto& button : platform::ui::Driver::findAll<platform::ui::Button>(hub->view()))
            if (button->currentTitle() == title) return button;
        return nullptr;
    }
};

TEST_P(MyHalcyonButtonsTest, ATapOnEachShownButtonOpensItsOwnPage)
{
    Halcyon::launchDashboardWithDelegate(nullptr, std::string("MyHalcyon"), {});
    settle();
    waitForIdle();
    auto hub = topPageAs<HCMyHalcyonController>();
    ASSERT_TRUE(hub);
    const std::vector<std::pair<std::string, std::string>> pages = {{"My Games", "HCPlayedGameController"},
                                                                    {"My Friends", "HCFriendsController"},
                                                                    {"Inbox", "HCInboxTopLevelController"},
                                                                    {"Settings", "HCUserSettingController"},
                                                                    {"Help", "HCHelpController"}};
    for (const auto& [title, kind] : pages) {
        SCOPED_TRACE(title);
        auto button = shownButton(hub, title);
        if (title == "Inbox" && !GetParam().userContent) {
            EXPECT_FALSE(button) << "closed user content hides the inbox";
            continue;
        }
        ASSERT_TRUE(button) << title;
        EXPECT_TRUE(driver->tapView(button)) << "something else took the tap";
        settle();
        // The help page's loading screen waits for its web page, which no one serves here.
        waitForReplies();
        auto opened = std::dynamic_pointer_cast<HCViewController>(topPage());
        ASSERT_TRUE(opened);
        EXPECT_EQ(opened->kindName(), kind);
        if (opened == hub) continue;
        ASSERT_TRUE(driver->tapBack());
        settle();
        ASSERT_EQ(topPage(), hub);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryHold, MyHalcyonButtonsTest,
    ::testing::Values(Hold{"PhoneUpright", false, InterfaceOrientation::Portrait, true},
                      Hold{"PhoneUprightClosedContent", false, InterfaceOrientation::Portrait, false},
                      Hold{"PhoneSideways", false, InterfaceOrientation::LandscapeLeft, true},
                      Hold{"PhoneSidewaysClosedContent", false, InterfaceOrientation::LandscapeLeft, false},
                      Hold{"TabletUpright", true, InterfaceOrientation::Portrait, true},
                      Hold{"TabletUprightClosedContent", true, InterfaceOrientation::Portrait, false},
                      Hold{"TabletSideways", true, InterfaceOrientation::LandscapeRight, true},
                      Hold{"TabletSidewaysClosedContent", true, InterfaceOrientation::LandscapeRight, false}),
    [](const ::testing::TestParamInfo<Hold>& info) { return std::string(info.param.name); });

}  // namespace
