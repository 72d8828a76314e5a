#pragma once
// The one place where the client is put together: every hook by which a
// lower layer reaches a higher one is installed here (each through its own
// setter) when Halcyon starts up, and removed here when it shuts down.
// resetForTesting() brings every process-wide slot back to its state at
// process start, so a test never needs to know the list.
//
// docs/ARCHITECTURE.md lists the hooks and slots; a new hook is added there
// and here.
//
// Thread: main thread.
#include "core/halcyon/Halcyon.h"

class HCClientHooks {
public:
    // What the game's entry call hands start-up: this build's service table
    // and the hook installation below.
    static HCClientAssembly assembly();

    static void install();
    static void remove();

    // Shuts a running client down, removes every hook, and resets each
    // process-wide slot: the add-on registry, the statistics' timing, the
    // linking step's seen-this-session mark, the services' provider, the
    // blob compression switch, the image cache, the settings store and its
    // overrides, reachability, the user defaults object, the sandbox, the
    // device facts, the application object, the cookie store, the clock, the
    // log sink and the programming-error handler.
    static void resetForTesting();
};
