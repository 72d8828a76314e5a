#pragma once
// Registers the profile picture page, its row and its header with the loader.
//
// Thread: main thread (start-up).
void registerProfilePicturePageClasses();
