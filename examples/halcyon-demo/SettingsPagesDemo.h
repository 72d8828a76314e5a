#pragma once
// The demo's settings lines: the player's settings page, read row by row,
// and the "location" switch turned off through it.
//
// Thread: main thread; pumps the game's frames until the page is idle, at
// most `frames` of them per step.
#include "DemoPages.h"

// False when the page did not come up or the change did not hold.
bool showSettingsPage(const DemoFrames& demo);
