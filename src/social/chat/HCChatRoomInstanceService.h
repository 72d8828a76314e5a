#pragma once
// The rooms of a chat room kind, joining one, and the room the player was
// last in.
//
// The service remembers the last room joined or reported by the server,
// with when that was learnt: asked again within ten seconds it answers from
// memory without a request. The age is measured on the clock that never
// goes back, so setting the device's time neither keeps a stale room
// forever nor drops a fresh one. Each join carries its own room to its
// reply, so two joins that overlap each record their own room, in the
// order their replies come.
//
// Success callbacks of the list and the join receive the reply's
// HCPaginatedSeries; those of loadLastRoomJoined the HCChatRoomInstance, or
// nil when the player is in no room. A room or kind without an id fails the
// call at once without a request. While the service is not running a call
// answers nil and calls nothing back.
//
// Thread: calls on the caller's thread (the main thread as a rule); the
// reply steps run on the thread of the caller's success callback; the
// remembered rooms are locked, so any thread may read them.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "core/replies/HCPaginatedSeries.h"
#include "core/services/HCService.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomInstance.h"

class HCChatRoomInstanceService final : public HCService {
public:
    // How long the last room is answered from memory.
    static constexpr double kLastRoomCacheSeconds = 10.0;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCChatRoomInstanceService> sharedInstance();

    // Needs a logged-in session; shows "Downloaded Room Instances".
    static HCRequestHandlePtr getPage(int32_t page, const HCChatRoomDefinitionPtr& definition,
                                      const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // A fresh room (rejoining NO) empties the poller's chat lines and polls
    // at once before the caller hears of the join; a rejoin keeps them.
    // Shows "Joined Chat Room".
    static HCRequestHandlePtr attemptToJoinRoom(const HCChatRoomInstancePtr& room, bool rejoining,
                                                const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Nil when answered from memory.
    static HCRequestHandlePtr loadLastRoomJoined(const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCChatRoomInstancePtr getCachedLastRoomJoined();

    HCChatRoomInstancePtr lastRoom() const;
    // The room of the latest join still under way (kept after a failed join).
    HCChatRoomInstancePtr roomJoining() const;
    bool rejoiningRoom() const;
    // Nothing until the last room was first learnt.
    std::optional<double> getTimeSinceLastRoomUpdated() const;

    void populateKnownResources(HCResourceNameMap& map) override;

private:
    void joined(const HCChatRoomInstancePtr& room);
    HCChatRoomInstancePtr lastRoomFromReply(const std::shared_ptr<HCPaginatedSeries>& series);

    mutable std::mutex mutex_;
    HCChatRoomInstancePtr lastRoom_;
    HCChatRoomInstancePtr roomJoining_;
    bool rejoiningRoom_ = false;
    std::optional<double> lastRoomUpdatedAt_;  // on the elapsed clock
};
