#pragma once
// A dashboard page drawn by a web page. A subclass names the page
// (getAction: its path below the service root, also its name in the web
// pages' mirror) and its title (getTitle), and may add to the dispatch
// table (getDispatchDictionary): a page calls native code by going to a
// "halcyon://<action>/<argument>..." address, which never loads; the
// action is looked up in the table, and the operation it names runs with
// the action's arguments if it is one this controller registered
// (registerWebOperation). An unknown action or operation does nothing.
//
// The page loads when the view first appears, behind the loading screen:
// the mirrored copy when the mirror has it, else the service's. A page of
// the web pages' folder ("webui/...") has its name in the mirror without
// the folder. A page with
// a notificationString has it told as a banner once the load finished.
//
// The base table: "push" -> "_webActionPushController:".
//
// Thread: main thread.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/WebView.h"
#include "uiframework/HCViewController.h"

class HCWebViewController : public HCViewController {
public:
    using WebOperation = std::function<bool(const std::vector<std::string>& arguments)>;

    HCWebViewController();
    ~HCWebViewController() override;

    // The page's path below the service root; a subclass must override it.
    virtual std::string getAction();
    virtual std::string getTitle() { return {}; }
    // The notice banner shown once the page has loaded; nil: none.
    virtual std::optional<std::string> notificationString() { return std::nullopt; }
    // Name and value pairs the page's address carries as its query, in order.
    virtual std::vector<std::pair<std::string, std::string>> getParameters() { return {}; }
    // Action name -> operation name.
    virtual std::map<std::string, std::string> getDispatchDictionary();

    // With exactly one argument: loads the page of that short name and
    // pushes it, animated, on this page's navigation controller.
    bool _webActionPushController(const std::vector<std::string>& arguments);

    // Runs the action of a "halcyon" address; answers whether an operation
    // handled it.
    bool dispatchWebAction(const std::string& url);
    // The address the page loads from.
    std::string pageURL();
    const std::shared_ptr<platform::ui::WebView>& webView() const { return webView_; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    std::string kindName() const override { return "HCWebViewController"; }

protected:
    // Makes `operation` an operation the dispatch table may name.
    void registerWebOperation(const std::string& operation, WebOperation run);
    void onPageLoaded();

private:
    class Navigation;

    std::shared_ptr<platform::ui::WebView> webView_;
    std::shared_ptr<Navigation> navigation_;
    std::map<std::string, WebOperation> operations_;
    bool loaded_ = false;
};
