#pragma once
// The calls that the reply path and the log-in make into the banner layer,
// which sits above them and installs them when the client starts:
//   showDefaultNotice       after every successful service reply: show the
//                           banner the caller armed before the call, if any,
//                           and disarm it;
//   showServerNotification  for each "server_notification" element of a
//                           reply, instead of returning it;
//   showBackgroundNotice    a banner the client itself raises (the log-in's
//                           welcome and offline banners).
// Until the banner layer installs them they do nothing.
//
// Thread: installed on the main thread; the first two are called on the
// thread that reads the reply (the provider's request thread), the third on
// the main thread; the banner layer takes it from there.
#include <functional>
#include <memory>
#include <string>

class HCServerNotification;

// One banner's data: its text, category and type (the banner layer's
// numbers: category 2 is the log-in, type 3 an error, 4 a success), the
// icon's image name (empty: the default) and the status it is shown with.
struct HCBackgroundNotice {
    std::string text;
    int category = 0;
    int type = 0;
    std::string imageName;
    bool success = false;
};

struct HCNotificationHooks {
    std::function<void()> showDefaultNotice;
    std::function<void(const std::shared_ptr<HCServerNotification>&)> showServerNotification;
    std::function<void(const HCBackgroundNotice&)> showBackgroundNotice;

    static void install(HCNotificationHooks hooks);
    static HCNotificationHooks installed();

    // Call the installed hook, if there is one.
    static void callShowDefaultNotice();
    static void callShowServerNotification(const std::shared_ptr<HCServerNotification>& notification);
    static void callShowBackgroundNotice(const HCBackgroundNotice& notice);
};
