// Web pages calling native code through "halcyon" addresses, and where a
// page is loaded from.
#include "dashboard/support/DashboardTest.h"

#include <fstream>

#include "dashboard/HCWebActionURL.h"
#include "dashboard/HCWebViewController.h"
#include "dashboard/HCWebViewManifestService.h"
#include "platform/foundation/FileFacts.h"
#include "platform/ui/NavigationController.h"

namespace dashtest {
namespace {

class HelpPage final : public HCWebViewController {
public:
    HelpPage()
    {
        registerWebOperation("_webActionRate:", [this](const std::vector<std::string>& arguments) {
            rated.insert(rated.end(), arguments.begin(), arguments.end());
            return true;
        });
    }
    std::string getAction() override { return "help.iphone"; }
    std::string getTitle() override { return "Help"; }
    std::map<std::string, std::string> getDispatchDictionary() override
    {
        auto table = HCWebViewController::getDispatchDictionary();
        table["rate"] = "_webActionRate:";
        // Names an operation nobody registered: does nothing.
        table["format"] = "_webActionFormatDisk:";
        return table;
    }
    std::vector<std::string> rated;
};

using WebViewControllerTest = DashboardTest;

TEST_F(WebViewControllerTest, HalcyonAddressesRunRegisteredOperationsAndNeverLoad)
{
    start();
    auto page = std::make_shared<HelpPage>();
    auto navigation = platform::ui::NavigationController::withRootViewController(page);
    window->setRootViewController(navigation);
    window->addSubview(navigation->view());
    navigation->beginAppearanceTransition(true, false);
    navigation->endAppearanceTransition();
    EXPECT_EQ(page->title(), "Help");
    auto web = page->webView();
    ASSERT_EQ(web->loadedRequests().size(), 1u);
    EXPECT_EQ(web->loadedRequests()[0].url, "http://127.0.0.1:1/help.iphone");
    EXPECT_TRUE(page->isShowingLoadingScreen());
    web->finishLoad();
    EXPECT_FALSE(page->isShowingLoadingScreen());

    EXPECT_FALSE(driver->navigateWeb(web, "halcyon://rate/5/Great%20game"));
    EXPECT_EQ(page->rated, (std::vector<std::string>{"5", "Great game"}));
    EXPECT_FALSE(driver->navigateWeb(web, "HALCYON://push/TestPage"));
    settle();
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_EQ(navigation->topViewController()->kindName(), "TestPage");

    // Wrong arguments, unknown names and broken escapes do nothing, and still never load.
    for (const char* url : {"halcyon://push", "halcyon://push/TestPage/extra", "halcyon://push/NoSuchPage",
                            "halcyon://format/c", "halcyon://nothing/x", "halcyon://rate/%zz", "halcyon://rate/%00",
                            "halcyon:///x", "halcyon://rate/%4"}) {
        EXPECT_FALSE(driver->navigateWeb(web, url)) << url;
    }
    settle();
    EXPECT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_EQ(page->rated.size(), 2u);
    EXPECT_EQ(web->loadedRequests().size(), 1u);
    // Ordinary links load.
    EXPECT_TRUE(driver->navigateWeb(web, "http://127.0.0.1:1/faq.iphone"));
}

TEST_F(WebViewControllerTest, AMirroredPageLoadsFromTheMirror)
{
    start();
    const std::string file = HCWebViewManifestService::mirrorPath() + "/help.iphone";
    ASSERT_TRUE(platform::FileFacts::writeFileAtomically(file, std::string("<p>help</p>")));
    // Listed in the mirror's manifest, or it is no mirrored page.
    EXPECT_EQ(std::make_shared<HelpPage>()->pageURL(), "http://127.0.0.1:1/help.iphone");
    ASSERT_TRUE(platform::FileFacts::writeFileAtomically(HCWebViewManifestService::mirrorManifestPath(),
                                                         std::string(40, '0').append(" help.iphone\n")));
    EXPECT_EQ(std::make_shared<HelpPage>()->pageURL(), "file://" + file);
}

TEST(WebActionURLTest, ParsesActionAndArguments)
{
    auto url = HCWebActionURL::parse("halcyon://push/a%2Fb//c?ignored#too");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->action, "push");
    EXPECT_EQ(url->arguments, (std::vector<std::string>{"a/b", "", "c"}));
    EXPECT_FALSE(HCWebActionURL::parse("http://push/x"));
    EXPECT_FALSE(HCWebActionURL::parse("halcyon"));
}

}  // namespace
}  // namespace dashtest
