#pragma once
// The demo's player pages: the dashboard opened on "My Halcyon", the
// friends list with its one pending request, a friend's profile and who
// plays the game, each screen in a few plain lines.
//
// Thread: main thread.
#include "DemoPages.h"
#include "localserver/Server.h"

namespace profiledemo {

// With an embedded server, Cleo asks to be Ann's friend first. False when
// a page did not come up.
bool showProfilePages(localserver::Server* server, const DemoFrames& demo);

}  // namespace profiledemo
