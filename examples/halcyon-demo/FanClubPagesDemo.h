#pragma once
// The demo's fan club lines: the dashboard opens on Now Playing, the game
// page's "Fan Club" button is pressed, and the fan club's rows are printed.
//
// Thread: main thread; each step pumps the game's frames until it is ready,
// at most `frames` of them.
#include "DemoPages.h"

// False when a page did not come up or the dashboard did not close.
bool showFanClubPages(const DemoFrames& demo);
