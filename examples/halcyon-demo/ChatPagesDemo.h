#pragma once
// The demo's chat and announcement pages, worked as a player would: the
// global chat rooms, a room joined and a line said in it; then the game's
// announcements and one of them with its discussion.
//
// Thread: main thread; each step pumps the game's frames until the page is
// ready, at most `frames` of them.
#include "DemoPages.h"

namespace chatpagesdemo {

// False when a page did not come up or the line said did not come back.
bool showChatPages(const DemoFrames& demo);

}  // namespace chatpagesdemo
