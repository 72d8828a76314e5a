#include "dashboard/HCServerMaintenanceNoticeController.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Screen.h"

namespace {
constexpr const char* kNoticeBaseURL = "about:blank";
}  // namespace

// Lets the notice itself load and nothing after it.
class HCServerMaintenanceNoticeController::NoticeOnly final : public platform::ui::WebViewDelegate {
public:
    bool webViewShouldStartLoadWithRequest(platform::ui::WebView&, const platform::URLRequest& request,
                                           platform::ui::WebNavigationType) override
    {
        if (loaded_ || request.url != kNoticeBaseURL) {
            return false;
        }
        loaded_ = true;
        return true;
    }

private:
    bool loaded_ = false;
};

std::shared_ptr<HCServerMaintenanceNoticeController> HCServerMaintenanceNoticeController::
    maintenanceControllerWithHtmlData(const std::shared_ptr<platform::Data>& html)
{
    auto controller = std::make_shared<HCServerMaintenanceNoticeController>();
    if (html) {
        controller->html_.assign(html->bytes().begin(), html->bytes().end());
    }
    return controller;
}

void HCServerMaintenanceNoticeController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    const platform::ui::Rect frame = platform::ui::Screen::mainScreen()->applicationFrame();
    auto root = platform::ui::View::make(frame);
    webView_ = platform::ui::WebView::make(platform::ui::Rect(0, 0, frame.width(), frame.height()));
    webView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    navigation_ = std::make_shared<NoticeOnly>();
    webView_->setDelegate(navigation_);
    root->addSubview(webView_);
    setView(root);
    webView_->loadHTMLString(html_, kNoticeBaseURL);
}
