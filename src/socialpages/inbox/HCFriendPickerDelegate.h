#pragma once
// What the friend picker tells the page that opened it: the friend chosen,
// or that the player left without choosing.
//
// Thread: main thread.
#include "core/users/HCUser.h"

class HCFriendPickerDelegate {
public:
    virtual ~HCFriendPickerDelegate() = default;
    virtual void pickerFinishedWithSelectedUser(const HCUserPtr& user) = 0;
    virtual void pickerCancelled() = 0;
};
