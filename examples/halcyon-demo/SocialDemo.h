#pragma once
// The demo's social lines: the global chat room and its last lines, the
// game's announcements with their unread count, and a conversation with a
// friend.
//
// Thread: main thread; each step pumps the game's frames until its answer
// arrives, at most `frames` of them.
#include <string>

#include "DemoPages.h"

// Each false when what it shows did not happen.
bool showChat(const DemoFrames& demo);
bool showAnnouncements(const DemoFrames& demo);
bool showConversation(const DemoFrames& demo, const std::string& friendId);
