#pragma once
// The demo's challenge: Ben sends Ann a one-shot challenge with its data;
// Ann gets the "New Challenge!" banner, lists her pending challenges, starts
// it (the game gets the data), loses, sees her result and sends it.
//
// Thread: main thread; each step pumps the game's frames until its answer
// arrives, at most `frames` of them.
#include "DemoPages.h"
#include "core/publicclass/HCDelegatesContainer.h"

namespace challengedemo {

// False when a step did not happen. The container gets the demo's challenge
// and banner delegates while it runs and its own back afterwards.
bool showChallenges(const DemoFrames& demo, HCDelegatesContainer& delegates);

}  // namespace challengedemo
