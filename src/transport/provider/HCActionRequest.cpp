#include "transport/provider/HCActionRequest.h"

#include "platform/runtime/Thread.h"
#include "transport/provider/HCProvider.h"

HCActionRequest::HCActionRequest(OAuthAPIRequestLoaderPtr loader, int requestType, platform::ObjectPtr notice)
    : loader_(std::move(loader)), requestType_(requestType), notice_(std::move(notice))
{
}

void HCActionRequest::dispatch()
{
    auto hooks = HCProvider::hooks();
    bool fullScreen = hooks.isDashboardFullScreen && hooks.isDashboardFullScreen();
    if (showsBanner() && !fullScreen && hooks.showBackgroundNoticeForLoader) {
        platform::performOnMain([show = hooks.showBackgroundNoticeForLoader, loader = loader_, notice = notice_] {
            show(loader, notice);
        });
        return;
    }
    loader_->loadSynchronously(false);
}

bool HCActionRequest::failedNotAuthorized() const
{
    return loader_->statusCode() == 401;
}

void HCActionRequest::abandonInLightOfASeriousError()
{
    auto action = std::move(abandonAction_);
    abandonAction_ = nullptr;
    if (action) action();
}
