#pragma once
// The two calls that the reply path makes into the banner layer, which sits
// above it and installs them when the client starts:
//   showDefaultNotice       after every successful service reply: show the
//                           banner the caller armed before the call, if any,
//                           and disarm it;
//   showServerNotification  for each "server_notification" element of a
//                           reply, instead of returning it.
// Until the banner layer installs them both do nothing.
//
// Thread: installed on the main thread; called on the thread that reads the
// reply (the provider's request thread); the banner layer takes it from there.
#include <functional>
#include <memory>

class HCServerNotification;

struct HCNotificationHooks {
    std::function<void()> showDefaultNotice;
    std::function<void(const std::shared_ptr<HCServerNotification>&)> showServerNotification;

    static void install(HCNotificationHooks hooks);
    static HCNotificationHooks installed();

    // Call the installed hook, if there is one.
    static void callShowDefaultNotice();
    static void callShowServerNotification(const std::shared_ptr<HCServerNotification>& notification);
};
