#pragma once
// The demo's social post: the game opens the composer with its own text, the
// player links Twitter from it when needed, gives the service leave to post
// when it asks, and the post closes the dashboard. With the demo's own
// server, a second post is refused only once the player closed the
// dashboard: it is told by an error banner over the game, not an alert.
//
// Thread: main thread; pumps the game's frames until each screen is idle, at
// most `frames` of them per step.
#include "DemoPages.h"
#include "localserver/Server.h"

// False when a screen did not come up, the post did not go out or the
// refused one was not told. `server` is nil with another server.
bool showComposerPage(localserver::Server* server, const DemoFrames& demo);
