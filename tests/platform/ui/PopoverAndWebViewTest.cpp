#include "platform/ui/PopoverController.h"
#include "platform/ui/WebView.h"

#include "ControllerTestFixture.h"

using namespace platform::ui;
using uitest::Log;

namespace {

class PopoverTest : public uitest::ControllerTest {};

class PopoverRecorder : public PopoverControllerDelegate {
public:
    explicit PopoverRecorder(Log& log) : log_(log) {}
    bool popoverControllerShouldDismissPopover(PopoverController&) override
    {
        log_.push_back("should dismiss");
        return allow;
    }
    void popoverControllerDidDismissPopover(PopoverController&) override { log_.push_back("did dismiss"); }
    bool allow = true;

private:
    Log& log_;
};

TEST_F(PopoverTest, TapOutsideAsksTheDelegateAndTellsItOnceThePopoverHasGone)
{
    auto content = make("Picker");
    content->setContentSizeForViewInPopover(Size(320, 400));
    auto recorder = std::make_shared<PopoverRecorder>(log);
    auto anchor = View::make(Rect(10, 10, 50, 50));
    window->addSubview(anchor);
    std::weak_ptr<PopoverController> weak;
    {
        auto popover = PopoverController::withContentViewController(content);
        popover->setDelegate(recorder);
        popover->presentFromRect(Rect(0, 0, 50, 50), anchor, PopoverArrowDirectionAny, true);
        weak = popover;
        EXPECT_EQ(popover->popoverContentSize(), Size(320, 400));
    }
    ASSERT_FALSE(weak.expired()) << "a shown popover lives on after its maker let go";
    EXPECT_EQ(take(), (Log{"Picker didLoad", "Picker willAppear"}));
    driver.settle();
    EXPECT_EQ(take(), (Log{"Picker didAppear"}));
    EXPECT_EQ(weak.lock()->presentedInView(), anchor);

    recorder->allow = false;
    EXPECT_FALSE(driver.tapOutsidePopover());
    EXPECT_EQ(take(), (Log{"should dismiss"}));
    EXPECT_TRUE(weak.lock()->isPopoverVisible());

    recorder->allow = true;
    EXPECT_TRUE(driver.tapOutsidePopover());
    EXPECT_EQ(take(), (Log{"should dismiss", "Picker willDisappear"}));
    driver.settle();
    EXPECT_EQ(take(), (Log{"Picker didDisappear", "did dismiss"}));
    EXPECT_TRUE(weak.expired());
}

TEST_F(PopoverTest, DismissalInCodeTellsTheDelegateNothing)
{
    auto recorder = std::make_shared<PopoverRecorder>(log);
    auto popover = PopoverController::withContentViewController(make("Picker"));
    popover->setDelegate(recorder);
    popover->presentFromBarButtonItem(BarButtonItem::withSystemItem(SystemItem::Refresh, nullptr),
                                      PopoverArrowDirectionUp, false);
    take();
    popover->dismissPopover(false);
    EXPECT_EQ(take(), (Log{"Picker willDisappear", "Picker didDisappear"}));
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_TRUE(PopoverController::visiblePopovers().empty());
}

class WebRecorder : public WebViewDelegate {
public:
    explicit WebRecorder(Log& log) : log_(log) {}
    bool webViewShouldStartLoadWithRequest(WebView&, const platform::URLRequest& request,
                                           WebNavigationType type) override
    {
        log_.push_back("should " + request.url + " " + std::to_string(static_cast<int>(type)));
        return request.url.rfind("halcyon://", 0) != 0;
    }
    void webViewDidStartLoad(WebView&) override { log_.push_back("start"); }
    void webViewDidFinishLoad(WebView&) override { log_.push_back("finish"); }
    void webViewDidFailLoadWithError(WebView&, const platform::NetErrorPtr& error) override
    {
        log_.push_back("fail " + std::to_string(error->code()));
    }

private:
    Log& log_;
};

class WebViewTest : public uitest::ControllerTest {};

TEST_F(WebViewTest, DelegateVetoesACustomSchemeNavigationAndNothingLoads)
{
    auto web = WebView::make(Rect(0, 0, 320, 400));
    auto recorder = std::make_shared<WebRecorder>(log);
    web->setDelegate(recorder);

    platform::URLRequest request;
    request.url = "https://example.test/webui/dashboard.html";
    request.method = "POST";
    request.headers.add("Content-Type", "application/x-www-form-urlencoded");
    EXPECT_TRUE(web->loadRequest(request));
    EXPECT_EQ(take(), (Log{"should https://example.test/webui/dashboard.html 5", "start"}));
    EXPECT_TRUE(web->isLoading());
    EXPECT_TRUE(web->finishLoad());
    EXPECT_FALSE(web->finishLoad()) << "a load ends once";
    EXPECT_EQ(take(), (Log{"finish"}));

    EXPECT_FALSE(driver.navigateWeb(web, "halcyon://action?name=push&page=Leaderboard"));
    EXPECT_EQ(take(), (Log{"should halcyon://action?name=push&page=Leaderboard 0"}));
    ASSERT_EQ(web->loadedRequests().size(), 1u) << "a vetoed navigation is not recorded";
    EXPECT_EQ(web->loadedRequests()[0].method, "POST");
    EXPECT_EQ(web->request()->url, "https://example.test/webui/dashboard.html");
    EXPECT_FALSE(web->isLoading());

    EXPECT_TRUE(driver.navigateWeb(web, "https://example.test/webui/next.html"));
    EXPECT_TRUE(web->failLoad(platform::NetError::make(platform::kNetErrorTimedOut)));
    EXPECT_EQ(take(), (Log{"should https://example.test/webui/next.html 0", "start", "fail -1001"}));
}

}  // namespace
