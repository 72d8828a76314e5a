#include "uiframework/HCWritingFailure.h"

#include "core/banners/HCNotification.h"
#include "core/banners/HCNotificationData.h"
#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "uiframework/HCPageRequestDelegates.h"

void tellWritingFailure(const HCWritingFailure& failure)
{
    HC_CHECK_MAIN_THREAD();
    if (Halcyon::isShowingFullScreen()) {
        showRequestFailureAlert(failure.title, failure.message, failure.button);
        return;
    }
    HCNotification::sharedInstance()->showBackgroundNotice(
        HCNotificationData::dataWithText(failure.message, failure.category, HCNotificationTypeError),
        std::string(HCNotificationStatusFailure));
}

std::string notSentBecause(const std::string& notSent, const std::string& reason)
{
    if (reason.empty()) return notSent;
    if (notSent.empty()) return reason;
    const bool endsWithStop = notSent.back() == '.';
    return notSent.substr(0, notSent.size() - (endsWithStop ? 1 : 0)) + ": " + reason;
}
