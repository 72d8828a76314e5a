#pragma once
// Ctrl-C (SIGINT) or SIGTERM in the middle of a run: the run cleans up as
// it does at its end (the client shut down, the local server stopped, the
// temporary folder removed) and the program then ends by that same signal,
// so that the shell that started it (scripts/demo) sees an interrupted
// program and stops too. The signal handler only notes the signal; the
// clean-up runs on the main thread between two frames, once the client's
// threads can be stopped first: removing the folder under them would race
// with their writes.
//
// Thread: main thread.
#include <functional>

namespace demointerrupt {

// From now on SIGINT and SIGTERM are noted, and `cleanUp` is what the next
// endIfAsked() runs; a later call replaces it.
void install(std::function<void()> cleanUp);
// Runs the clean-up and ends the program when a signal came; returns
// otherwise.
void endIfAsked();

}  // namespace demointerrupt
