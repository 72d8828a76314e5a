#pragma once
// What the game implements to hear the outcomes of HCUser's operations.
// Every method is optional: HCUser calls one only when the delegate
// implements it. Failures carry no error.
//
// Thread: called on the main thread.
#include <memory>
#include <vector>

#include "platform/runtime/OptionalMethods.h"
#include "platform/ui/Image.h"

class HCUser;

class HCUserDelegate : public platform::OptionalMethods {
public:
    using UserPtr = std::shared_ptr<HCUser>;
    virtual ~HCUserDelegate() = default;

    virtual void didGetUser(const UserPtr& user)
    {
        (void)user;
        notImplemented();
    }
    virtual void didFailGetUser() { notImplemented(); }
    virtual void didGetProfilePicture(const platform::ui::ImagePtr& image, const UserPtr& user)
    {
        (void)image;
        (void)user;
        notImplemented();
    }
    virtual void didFailGetProfilePictureHCUser(const UserPtr& user)
    {
        (void)user;
        notImplemented();
    }
    // The players in the reply's order, those of an "Online Now" section left out.
    virtual void didGetFriends(const std::vector<UserPtr>& friends, const UserPtr& user)
    {
        (void)friends;
        (void)user;
        notImplemented();
    }
    virtual void didFailGetFriendsHCUser(const UserPtr& user)
    {
        (void)user;
        notImplemented();
    }
    virtual void didGetFriendsWithThisApplication(const std::vector<UserPtr>& friends, const UserPtr& user)
    {
        (void)friends;
        (void)user;
        notImplemented();
    }
    virtual void didFailGetFriendsWithThisApplicationHCUser(const UserPtr& user)
    {
        (void)user;
        notImplemented();
    }
};
