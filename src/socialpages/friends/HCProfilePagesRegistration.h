#pragma once
// Makes the player pages (profile, My Halcyon, help, friends, import,
// find-user, who's playing and the player rows) known to the loader.
//
// Thread: main thread.
void registerProfilePageClasses();
