#pragma once
// The demo's games list: the player's own played games, as the dashboard
// shows them.
//
// Thread: main thread.
#include "DemoPages.h"

// False when the list did not come up.
bool showPlayedGames(const DemoFrames& demo);
