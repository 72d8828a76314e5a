#pragma once
// The demo's social post: the game opens the composer with its own text, the
// player links Twitter from it when needed, gives the service leave to post
// when it asks, and the post closes the dashboard.
//
// Thread: main thread; pumps the game's frames until each screen is idle, at
// most `frames` of them per step.
#include "DemoPages.h"

// False when a screen did not come up or the post did not go out.
bool showComposerPage(const DemoFrames& demo);
