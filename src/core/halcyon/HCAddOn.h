#pragma once
// An optional module that rides along with the client and is told about its
// life events. A game (or an add-on) registers one object per add-on with
// Halcyon::registerAddOn() before start-up; the registry then sends each
// event to every registered add-on in registration order.
//
// Methods with a default body are optional: an add-on that does not override
// them is skipped for that event. The others every add-on must answer.
//
// Thread: the thread of the event: the main thread for start-up, settings,
// push notifications and shut-down; the provider's request thread for
// userLoggedIn().
#include <memory>

#include "platform/foundation/Values.h"
#include "platform/runtime/OptionalMethods.h"

class HCSettings;
class HCXmlReader;

class HCAddOn : public platform::OptionalMethods {
public:
    virtual ~HCAddOn() = default;

    // Before the client's instance exists, with the game's settings (may be nil).
    virtual void preInitializeAddOn(const std::shared_ptr<platform::Dictionary>& /*settings*/) { notImplemented(); }
    // After the services and settings are up.
    virtual void initializeAddOn(const std::shared_ptr<platform::Dictionary>& settings) = 0;
    virtual void shutdownAddOn() = 0;
    // From the settings store's construction, after its built-in defaults.
    virtual void defaultSettings(HCSettings& settings) = 0;
    // From the settings file's loading, after its built-in keys.
    virtual void loadSettings(HCSettings& settings, HCXmlReader& reader) = 0;
    // A push payload without a challenge; answers whether the add-on handled it.
    virtual bool respondToPushNotification(const std::shared_ptr<platform::Dictionary>& notification,
                                           bool duringApplicationLaunch) = 0;
    virtual void userLoggedIn() { notImplemented(); }
    virtual void userLoggedInPostIntro() { notImplemented(); }
    virtual void offlineUserLoggedInPostIntro() { notImplemented(); }
    virtual void userLoggedOut() = 0;
};
