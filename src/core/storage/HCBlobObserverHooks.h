#pragma once
// What the kernel's blob download observer needs from the storage road: the
// reader of the stored blob form for plain downloads, and HCS3Response for
// storage-road outcomes. The client's start-up installs both; so do tests
// that move blobs without starting the client.
//
// Thread: main, before any blob moves.
namespace HCBlobObserverHooks {

void install();
void remove();

}  // namespace HCBlobObserverHooks
