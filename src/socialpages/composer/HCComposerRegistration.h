#pragma once
// Makes the social post composer, its rows and the extended-credential
// screens known to the loader, and gives the game's launch and the public
// post class the composer to open.
//
// Thread: main thread.
void registerComposerClasses();
