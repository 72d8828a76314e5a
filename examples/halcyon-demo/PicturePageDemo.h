#pragma once
// The demo's profile picture lines: where the player's picture can come
// from, row by row, and a photo chosen from the library and uploaded.
//
// Thread: main thread; pumps the game's frames until the page is idle, at
// most `frames` of them per step.
#include "DemoPages.h"

namespace picturedemo {

// False when the page did not come up or the upload did not hold.
bool showPicturePage(const DemoFrames& demo);

}  // namespace picturedemo
