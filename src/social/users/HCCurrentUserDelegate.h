#pragma once
// What the game implements to hear the outcomes of HCCurrentUser's
// operations. Every method is optional: HCCurrentUser calls one only when
// the delegate implements it. Failures carry no error.
//
// Thread: called on the main thread.
#include "platform/runtime/OptionalMethods.h"

class HCCurrentUserDelegate : public platform::OptionalMethods {
public:
    virtual ~HCCurrentUserDelegate() = default;

    // YES when a linked login of the player is Twitter or Facebook.
    virtual void didCheckConnectedToSocialNetwork(bool connected)
    {
        (void)connected;
        notImplemented();
    }
    virtual void didFailCheckConnectedToSocialNetwork() { notImplemented(); }
    virtual void didUnfriend() { notImplemented(); }
    virtual void didFailUnfriend() { notImplemented(); }
    virtual void didSendFriendRequest() { notImplemented(); }
    virtual void didFailSendFriendRequest() { notImplemented(); }
    virtual void didFavoriteCurrentGame() { notImplemented(); }
    virtual void didFailFavoriteCurrentGame() { notImplemented(); }
};
