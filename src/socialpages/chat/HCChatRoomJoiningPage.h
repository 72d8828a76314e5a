#pragma once
// What the room list and the instance list share: joining a room from a
// row and opening it, or the room-full page. A page sitting in a tab the
// player is not looking at only takes its loading screen down when a list
// or a join comes back: nothing is pushed where the player cannot see it.
//
// One way into a room at a time: from the tap that starts it (a join, or a
// kind's rooms asked for) until its answer, further taps do nothing, so a
// double tap joins once and opens one room page.
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

    // A tap that joins `room`: shows the loading screen and joins, unless
    // the way into a room is already under way.
    void enterRoom(const HCChatRoomInstancePtr& room);
    // Joins (not rejoining) as part of the way into a room under way; the
    // loading screen is expected to show.
    void attemptToJoinRoom(const HCChatRoomInstancePtr& room);
    // The page's tab is not the one shown.
    bool isInHiddenTab() const;
    bool isEnteringRoom() const { return enteringRoom_; }

    std::string kindName() const override { return "HCChatRoomJoiningPage"; }

protected:
    // Starts the way into a room: false when one is under way already.
    bool beginEnteringRoom();
    void endEnteringRoom();
    // Told when the way into a room starts or ends.
    virtual void enteringRoomChanged() {}

private:
    void onJoinedRoom(const platform::ObjectPtr& reply);

    bool enteringRoom_ = false;
};
