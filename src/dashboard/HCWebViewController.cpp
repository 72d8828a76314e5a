#include "dashboard/HCWebViewController.h"

#include "core/banners/HCNotification.h"
#include "core/resources/HCMissingOverride.h"
#include "dashboard/HCWebActionURL.h"
#include "dashboard/HCWebViewManifestService.h"
#include "kernel/http/HCHttpService.h"
#include "kernel/settings/HCSettings.h"
#include "platform/net/PercentEncoding.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "uiframework/HCControllerLoader.h"

// The web view's delegate: holds its controller weakly, as the web view
// holds the delegate.
class HCWebViewController::Navigation final : public platform::ui::WebViewDelegate {
public:
    explicit Navigation(HCWebViewController* owner) : owner_(owner) {}
    void forget() { owner_ = nullptr; }

    bool webViewShouldStartLoadWithRequest(platform::ui::WebView&, const platform::URLRequest& request,
                                           platform::ui::WebNavigationType) override
    {
        if (!HCWebActionURL::hasActionScheme(request.url)) {
            return true;
        }
        if (owner_) {
            owner_->dispatchWebAction(request.url);
        }
        return false;
    }
    void webViewDidFinishLoad(platform::ui::WebView&) override
    {
        if (owner_) owner_->onPageLoaded();
    }
    void webViewDidFailLoadWithError(platform::ui::WebView&, const platform::NetErrorPtr&) override
    {
        if (owner_) owner_->hideLoadingScreen();
    }

private:
    HCWebViewController* owner_;
};

HCWebViewController::HCWebViewController() : navigation_(std::make_shared<Navigation>(this))
{
    registerWebOperation("_webActionPushController:",
                         [this](const std::vector<std::string>& arguments) { return _webActionPushController(arguments); });
}

HCWebViewController::~HCWebViewController()
{
    navigation_->forget();
}

std::string HCWebViewController::getAction()
{
    HCReportMissingOverride("HCWebViewController", kindName(), "getAction");
    return {};
}

std::map<std::string, std::string> HCWebViewController::getDispatchDictionary()
{
    return {{"push", "_webActionPushController:"}};
}

void HCWebViewController::onPageLoaded()
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    // Told like a request's banner once its request ended, not dropped for
    // the open dashboard (the page is in it) as a background notice is.
    if (auto text = notificationString()) HCNotification::sharedInstance()->showTextNotice(*text);
}

void HCWebViewController::registerWebOperation(const std::string& operation, WebOperation run)
{
    operations_[operation] = std::move(run);
}

bool HCWebViewController::dispatchWebAction(const std::string& url)
{
    HC_CHECK_MAIN_THREAD();
    auto action = HCWebActionURL::parse(url);
    if (!action) {
        return false;
    }
    const auto table = getDispatchDictionary();
    auto entry = table.find(action->action);
    if (entry == table.end()) {
        return false;
    }
    auto operation = operations_.find(entry->second);
    if (operation == operations_.end()) {
        return false;
    }
    return operation->second(action->arguments);
}

bool HCWebViewController::_webActionPushController(const std::vector<std::string>& arguments)
{
    HC_CHECK_MAIN_THREAD();
    if (arguments.size() != 1) {
        return false;
    }
    auto navigation = navigationController();
    auto controller = navigation ? HCControllerLoader::load(arguments.front()) : nullptr;
    if (!controller) {
        return false;
    }
    navigation->pushViewController(controller, true);
    return true;
}

std::string HCWebViewController::pageURL()
{
    const std::string action = getAction();
    std::string query;
    for (const auto& [name, value] : getParameters()) {
        query += (query.empty() ? "?" : "&") + platform::percentEncode(name) + "=" +
                 platform::percentEncode(value);
    }
    // The mirror names a page of the web pages' folder without the folder.
    const std::string folder = HCWebViewManifestService::kPagesPath;
    const std::string page = action.rfind(folder, 0) == 0 ? action.substr(folder.size()) : action;
    if (auto mirrored = HCWebViewManifestService::mirroredPagePath(page)) {
        return "file://" + *mirrored + query;
    }
    auto settings = HCSettings::Instance();
    const std::string root = settings ? settings->objectForKey("server-url").value_or("") : std::string();
    return HCHttpService::urlForPath(root, action) + query;
}

void HCWebViewController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    auto root = view();
    webView_ = platform::ui::WebView::make(root->bounds());
    webView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    webView_->setDelegate(navigation_);
    root->addSubview(webView_);
    if (auto title = getTitle(); !title.empty()) {
        setTitle(title);
    }
}

void HCWebViewController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewWillAppear(animated);
    if (loaded_) {
        return;
    }
    loaded_ = true;
    platform::URLRequest request;
    request.url = pageURL();
    if (webView_->loadRequest(request)) {
        showLoadingScreen();
    }
}
