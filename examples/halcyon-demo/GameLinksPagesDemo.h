#pragma once
// The demo's links between the game pages: the featured banner over the
// Now Playing page, and a friend's game the player lacks opening its
// description page.
//
// Thread: main thread.
#include "DemoPages.h"

// False when a page or the banner did not come up.
bool showGameLinks(const DemoFrames& demo);
