#pragma once
// The game opens the dashboard on each of its pages with one call; each
// shortcut's tab and the title of the page on top are printed.
//
// Thread: main thread; each shortcut pumps the game's frames until its page
// is ready, at most `frames` of them.
#include "DemoPages.h"

namespace shortcutsdemo {

// False when a shortcut's page did not come up.
bool showShortcuts(const DemoFrames& demo);

}  // namespace shortcutsdemo
