#pragma once
// Connects the client core to the transport layer below it: the poller reads
// its replies with the resource reader. The client's start-up calls
// install(); so do tests that poll.
//
// Thread: the main thread, before polling starts.
class HCCoreHooks {
public:
    static void install();
};
