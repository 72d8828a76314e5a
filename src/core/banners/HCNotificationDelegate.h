#pragma once
// The game's say over banners, given at start-up in the delegates
// container. Every method is optional; the client asks only what the game
// implements.
//
// Thread: main thread (the banner service asks from there, whatever thread
// asked it for a banner).
#include "core/banners/HCNotificationData.h"
#include "platform/runtime/OptionalMethods.h"

class HCNotificationDelegate : public platform::OptionalMethods {
public:
    virtual ~HCNotificationDelegate() = default;

    // Asked before every banner; NO vetoes it.
    virtual bool isHalcyonNotificationAllowed(const HCNotificationDataPtr& /*notice*/)
    {
        notImplemented();
        return true;
    }
    // A banner was vetoed, by this delegate or because the player disabled them.
    virtual void handleDisallowedNotification(const HCNotificationDataPtr& /*notice*/) { notImplemented(); }
    // An allowed banner is about to be made.
    virtual void notificationWillShow(const HCNotificationDataPtr& /*notice*/) { notImplemented(); }
};
