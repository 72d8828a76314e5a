#pragma once
// The service's maintenance notice: the HTML of its 450 reply, shown in a
// web view. The notice is shown, never followed: links and scripts that
// would take the view elsewhere (and "halcyon" actions) are refused.
//
// Thread: main thread.
#include <memory>

#include "platform/foundation/Values.h"
#include "platform/ui/WebView.h"
#include "uiframework/HCViewController.h"

class HCServerMaintenanceNoticeController : public HCViewController {
public:
    static std::shared_ptr<HCServerMaintenanceNoticeController> maintenanceControllerWithHtmlData(
        const std::shared_ptr<platform::Data>& html);

    const std::string& html() const { return html_; }
    const std::shared_ptr<platform::ui::WebView>& webView() const { return webView_; }

    void loadView() override;
    std::string kindName() const override { return "HCServerMaintenanceNoticeController"; }

private:
    class NoticeOnly;

    std::string html_;
    std::shared_ptr<platform::ui::WebView> webView_;
    std::shared_ptr<NoticeOnly> navigation_;
};
