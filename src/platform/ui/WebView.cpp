#include "platform/ui/WebView.h"

namespace platform::ui {

bool WebViewDelegate::webViewShouldStartLoadWithRequest(WebView&, const URLRequest&, WebNavigationType)
{
    return true;
}
void WebViewDelegate::webViewDidStartLoad(WebView&) {}
void WebViewDelegate::webViewDidFinishLoad(WebView&) {}
void WebViewDelegate::webViewDidFailLoadWithError(WebView&, const NetErrorPtr&) {}

WebView::WebView(const Rect& frame) : View(frame) {}

bool WebView::start(const URLRequest& request, WebNavigationType type)
{
    auto keepAlive = shared_from_this();
    auto d = delegate();
    if (d && !d->webViewShouldStartLoadWithRequest(*this, request, type)) return false;
    current_ = request;
    loaded_.push_back(request);
    loading_ = true;
    if (auto again = delegate()) again->webViewDidStartLoad(*this);
    return true;
}

bool WebView::loadRequest(const URLRequest& request)
{
    return start(request, WebNavigationType::Other);
}

bool WebView::loadHTMLString(const std::string& html, const std::string& baseURL)
{
    URLRequest request;
    request.url = baseURL.empty() ? "about:blank" : baseURL;
    auto keepAlive = shared_from_this();
    auto d = delegate();
    if (d && !d->webViewShouldStartLoadWithRequest(*this, request, WebNavigationType::Other)) return false;
    html_.push_back(HTMLLoad{html, baseURL});
    current_ = request;
    loaded_.push_back(request);
    loading_ = true;
    if (auto again = delegate()) again->webViewDidStartLoad(*this);
    return true;
}

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script)
{
    scripts_.push_back(script);
    return responder_ ? responder_(script) : std::string();
}

bool WebView::navigate(const std::string& url, WebNavigationType type)
{
    URLRequest request;
    request.url = url;
    return start(request, type);
}

bool WebView::finishLoad()
{
    if (!loading_) return false;
    auto keepAlive = shared_from_this();
    loading_ = false;
    if (auto d = delegate()) d->webViewDidFinishLoad(*this);
    return true;
}

bool WebView::failLoad(const NetErrorPtr& error)
{
    if (!loading_) return false;
    auto keepAlive = shared_from_this();
    loading_ = false;
    if (auto d = delegate()) d->webViewDidFailLoadWithError(*this, error);
    return true;
}

std::string WebView::describe() const
{
    std::string text = current_ ? "\"" + current_->url + "\"" : std::string();
    if (loading_) text += text.empty() ? "loading" : " loading";
    return text;
}

}  // namespace platform::ui
