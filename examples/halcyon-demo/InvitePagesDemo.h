#pragma once
// The demo's invite flow as a player works it: the game opens the dashboard
// on the invite page, a friend and an address-book contact are picked, the
// invitation is sent and the confirmation printed.
//
// Thread: main thread; each step pumps the game's frames until the page is
// ready, at most `frames` of them.
#include "DemoPages.h"

namespace invitedemo {

// False when the invitation was not sent.
bool showInvitePages(const DemoFrames& demo);

}  // namespace invitedemo
