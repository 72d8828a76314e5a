#pragma once
// What the room list and the instance list share: joining a room from a
// row and opening it, or the room-full page. A page sitting in a tab the
// player is not looking at only takes its loading screen down when a list
// or a join comes back: nothing is pushed where the player cannot see it.
//
// Thread: main thread.
#include <memory>

#include "social/chat/HCChatRoomInstance.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCChatRoomJoiningPage : public HCTableSequenceControllerHelper {
public:
    static constexpr const char* kRoomFullMessage = "The room you attempted to join is full. Please try another room.";

    // Loads "ChatRoom" for the room and pushes it.
    static void pushChatRoom(const HCChatRoomInstancePtr& room,
                             const std::shared_ptr<platform::ui::NavigationController>& navigation);
    static void pushRoomFullScreen(const std::shared_ptr<platform::ui::NavigationController>& navigation);
    // The dead-end page with `message`, unless an error screen already shows.
    static void pushErrorScreen(const std::shared_ptr<platform::ui::NavigationController>& navigation,
                                const std::string& message);

    // Joins (not rejoining); the loading screen is expected to show.
    void attemptToJoinRoom(const HCChatRoomInstancePtr& room);
    // The page's tab is not the one shown.
    bool isInHiddenTab() const;

    std::string kindName() const override { return "HCChatRoomJoiningPage"; }

private:
    void onJoinedRoom(std::shared_ptr<platform::Object> reply);
    void onFailedToJoinRoom(std::shared_ptr<platform::Object> failure);
};
