#pragma once
// The demo's inbox pages: the inbox menu with its unread count, the list of
// conversations, and one conversation, each screen read as the player sees
// it.
//
// Thread: main thread; each step pumps the game's frames until the page is
// ready, at most `frames` of them.
#include "DemoPages.h"
#include "localserver/Server.h"

namespace inboxdemo {

// With the demo's own server, a friend's message waits unread in a
// conversation first. False when a page did not come up.
bool showInboxPages(localserver::Server* server, const DemoFrames& demo);

}  // namespace inboxdemo
