#pragma once
// The game's way to post a game event: open the dashboard's composer with a
// prepared text, and hear whether the post went out.
//
// The composer sends the post through the social notification service and
// tells the class delegate didSendSocialNotification (sendSuccess) when the
// service took it; a refused post tells the game nothing, since the player
// may still add a network's leave and send again. publish() is for a game
// that posts without the composer: it reports to the delegate either way.
//
// Thread: main.
#include <functional>
#include <optional>
#include <string>

#include "platform/runtime/OptionalMethods.h"
#include "social/socialposts/HCSocialNotification.h"
#include "transport/handles/HCRequestHandle.h"

class HCSocialNotificationApiDelegate;

class HCSocialNotificationApi final {
public:
    using Text = std::optional<std::string>;
    static constexpr const char* kModule = "HCSocialNotificationApi";
    // Opens the composer: text, original message, image name, link. The
    // dashboard installs it.
    using Composer = std::function<void(const Text& text, const Text& originalMessage, const Text& imageName,
                                        const Text& linkedUrl)>;

    static void setDelegate(HCSocialNotificationApiDelegate* delegate);
    // The link every post opened here carries.
    static void setCustomUrl(const Text& url);
    // Opens the composer; nothing without a dashboard.
    static void sendWithPrepopulatedText(const Text& text, const Text& originalMessage, const Text& imageNamed);
    static void setComposer(Composer composer);

    // Posts what the composer made and reports the outcome.
    static HCRequestHandlePtr publish(const HCSocialNotificationPtr& notification);
    static void sendSuccess();
    static void sendFailure();
};

class HCSocialNotificationApiDelegate : public platform::OptionalMethods {
public:
    virtual ~HCSocialNotificationApiDelegate() = default;
    virtual void didSendSocialNotification() { notImplemented(); }
    virtual void didFailSendSocialNotification() { notImplemented(); }
};
