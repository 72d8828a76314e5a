#pragma once
// Connects the client core to the layers below it: the poller reads its
// replies with the resource reader; blob downloads decode the stored blob
// form and report storage-road outcomes as HCS3Response objects. The
// client's start-up calls install(); so do tests that poll or move blobs.
//
// Thread: the main thread, before polling starts.
class HCCoreHooks {
public:
    static void install();
};
