#pragma once
// WebView: a browser pane that never renders. It records what it was asked
// to load and the scripts it was asked to run, and asks its delegate before
// every load, as the platform does.
//
// A load that the delegate allows becomes the current request and is "in
// progress" (didStartLoad) until the page side says it finished or failed;
// nothing loads by itself. Tests (or the example host) play the page:
// navigate() is the page following a link or a script setting its location
// (a "halcyon://..." address, say), finishLoad() and failLoad() end the load
// in progress. Scripts answer what the script responder says (empty by default).
//
// Thread: main thread only.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/net/NetError.h"
#include "platform/net/URLRequest.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/View.h"

namespace platform::ui {

class WebView;

// Numbers match the platform's.
enum class WebNavigationType : int {
    LinkClicked = 0,
    FormSubmitted = 1,
    BackForward = 2,
    Reload = 3,
    FormResubmitted = 4,
    Other = 5,
};

// All optional; by default every load is allowed.
class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;
    virtual bool webViewShouldStartLoadWithRequest(WebView& webView, const URLRequest& request,
                                                   WebNavigationType navigationType);
    virtual void webViewDidStartLoad(WebView& webView);
    virtual void webViewDidFinishLoad(WebView& webView);
    virtual void webViewDidFailLoadWithError(WebView& webView, const NetErrorPtr& error);
};

class WebView : public View {
public:
    struct HTMLLoad {
        std::string html;
        std::string baseURL;
    };

    explicit WebView(const Rect& frame = Rect());
    static std::shared_ptr<WebView> make(const Rect& frame = Rect()) { return std::make_shared<WebView>(frame); }

    std::shared_ptr<WebViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<WebViewDelegate> delegate)
    {
        HC_CHECK_MAIN_THREAD();
        delegate_ = std::move(delegate);
    }

    // Asks the delegate (navigation type Other); answers whether the load started.
    bool loadRequest(const URLRequest& request);
    // Asks the delegate with a GET of the base URL ("about:blank" when empty).
    bool loadHTMLString(const std::string& html, const std::string& baseURL);
    // Ends the load in progress without telling the delegate.
    void stopLoading() { loading_ = false; }
    bool isLoading() const { return loading_; }
    // The last request that was allowed to load.
    const std::optional<URLRequest>& request() const { return current_; }
    // Every allowed request, oldest first (HTML loads appear as GETs of their base URL).
    const std::vector<URLRequest>& loadedRequests() const { return loaded_; }
    const std::vector<HTMLLoad>& loadedHTML() const { return html_; }

    // Records the script and answers what the responder says.
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
    const std::vector<std::string>& evaluatedScripts() const { return scripts_; }
    void setJavaScriptResponder(std::function<std::string(const std::string& script)> responder)
    {
        HC_CHECK_MAIN_THREAD();
        responder_ = std::move(responder);
    }

    // --- the page side (tests and hosts) -------------------------------------
    // The page goes to `url`: asks the delegate; loads only when allowed.
    bool navigate(const std::string& url, WebNavigationType type = WebNavigationType::LinkClicked);
    // The load in progress finished: didFinishLoad. False when none was in progress.
    bool finishLoad();
    // The load in progress failed: didFailLoadWithError. False when none was in progress.
    bool failLoad(const NetErrorPtr& error);

    std::string kindName() const override { return "WebView"; }
    // The current address, then "loading" while a load is in progress.
    std::string describe() const override;

private:
    bool start(const URLRequest& request, WebNavigationType type);

    std::weak_ptr<WebViewDelegate> delegate_;
    bool loading_ = false;
    std::optional<URLRequest> current_;
    std::vector<URLRequest> loaded_;
    std::vector<HTMLLoad> html_;
    std::vector<std::string> scripts_;
    std::function<std::string(const std::string&)> responder_;
};

using WebViewPtr = std::shared_ptr<WebView>;

}  // namespace platform::ui
