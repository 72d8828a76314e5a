#pragma once
// The demo's social lines: the global chat room and its last lines, the
// game's announcements with their unread count, and a conversation with a
// friend.
//
// Thread: main thread; each step pumps the game's frames until its answer
// arrives, at most `frames` of them.
#include <functional>
#include <string>

struct DemoFrames {
    std::function<void(const std::string&)> say;
    // Pumps one frame, or less when the condition answers yes first.
    std::function<void(const std::function<bool()>&)> frame;
    int frames = 0;
};

// Each false when what it shows did not happen.
bool showChat(const DemoFrames& demo);
bool showAnnouncements(const DemoFrames& demo);
bool showConversation(const DemoFrames& demo, const std::string& friendId);
