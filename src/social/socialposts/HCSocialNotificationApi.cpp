#include "social/socialposts/HCSocialNotificationApi.h"

#include "core/publicclass/HCClassDelegate.h"
#include "social/socialposts/HCSocialNotificationService.h"

namespace {

HCClassDelegate<HCSocialNotificationApiDelegate> sSocialNotificationApiDelegate(HCSocialNotificationApi::kModule);
HCSocialNotificationApi::Text sCustomUrl;
HCSocialNotificationApi::Composer sComposer;

}  // namespace

void HCSocialNotificationApi::setDelegate(HCSocialNotificationApiDelegate* delegate)
{
    sSocialNotificationApiDelegate.set(delegate);
}

void HCSocialNotificationApi::setCustomUrl(const Text& url)
{
    HC_CHECK_MAIN_THREAD();
    sCustomUrl = url;
}

void HCSocialNotificationApi::setComposer(Composer composer)
{
    HC_CHECK_MAIN_THREAD();
    sComposer = std::move(composer);
}

void HCSocialNotificationApi::sendWithPrepopulatedText(const Text& text, const Text& originalMessage,
                                                       const Text& imageNamed)
{
    HC_CHECK_MAIN_THREAD();
    if (sComposer) sComposer(text, originalMessage, imageNamed, sCustomUrl);
}

HCRequestHandlePtr HCSocialNotificationApi::publish(const HCSocialNotificationPtr& notification)
{
    HC_CHECK_MAIN_THREAD();
    auto cb = sSocialNotificationApiDelegate.callbacks(
        nullptr, [](auto started, const platform::ObjectPtr&) {
            sSocialNotificationApiDelegate.notify(started, [](HCSocialNotificationApiDelegate& d) { d.didSendSocialNotification(); });
        },
        [](auto started) {
            sSocialNotificationApiDelegate.notify(started, [](HCSocialNotificationApiDelegate& d) { d.didFailSendSocialNotification(); });
        });
    return sSocialNotificationApiDelegate.track(HCSocialNotificationService::sendSocialNotification(notification, cb.success, cb.failure));
}

void HCSocialNotificationApi::sendSuccess()
{
    sSocialNotificationApiDelegate.notify(sSocialNotificationApiDelegate.ticket(), [](HCSocialNotificationApiDelegate& d) { d.didSendSocialNotification(); });
}

void HCSocialNotificationApi::sendFailure()
{
    sSocialNotificationApiDelegate.notify(sSocialNotificationApiDelegate.ticket(), [](HCSocialNotificationApiDelegate& d) { d.didFailSendSocialNotification(); });
}
