#pragma once
// Chat rooms: the kinds of room, the rooms of a kind, joining one, the room
// a player is in, and the lines said in rooms, which reach players through
// the activity feed the client's poller reads.
//
// Routes (below the service root; every one needs a user token):
//   GET chat_room_definitions.xml   "include_global_rooms",
//       "include_application_rooms", "include_developer_rooms" ("1" to
//       list that kind), "include_last_visited_room" (the caller's room
//       after the kinds); the list is not paged.
//   GET chat_room_instances.xml     "chat_room_definition_id" (unknown: 404),
//       "page" (kPageSize a page).
//   GET chat_room_instances/join    "chat_room_instance_id" (unknown: 404, a
//       full room: 403): the caller leaves its room and enters this one; the
//       first join of a room puts the room's lines on the feed.
//   GET chat_room_instances/show    the caller's room; an empty list when none.
//
// Fixture kinds: "chat_room_definition" (id, name, type), "chat_room_instance"
// (id, definition, name, max), "chat_message" (id, room, user, message,
// date as seconds since 1970).
//
// Thread: the store locks; handlers run on connection threads.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "localserver/Fixtures.h"
#include "localserver/routes/ActivityRoutes.h"

namespace localserver {
class Server;

struct ChatRoomDefinition {
    std::string id, name, type;
};

struct ChatRoom {
    std::string id, definitionId, name;
    int maxUsers = 0;
    std::set<std::string> users;
};

struct ChatLine {
    std::string id, roomId, userId, message;
    std::int64_t date = 0;
};

class ChatStore {
public:
    static constexpr std::uint32_t kPageSize = 10;

    ChatStore(Server& server, std::shared_ptr<ActivityFeed> feed);
    // The message of the first bad record; empty when all were taken.
    std::string load(const Fixtures& fixtures);

    std::vector<ChatRoomDefinition> definitions() const;
    std::vector<ChatRoom> roomsOf(const std::string& definitionId) const;
    std::optional<ChatRoomDefinition> definition(const std::string& id) const;
    std::optional<ChatRoom> room(const std::string& id) const;
    // The caller's room after the join; nothing for an unknown or full room
    // (`full` tells which).
    std::optional<ChatRoom> join(const std::string& roomId, const std::string& userId, bool& full);
    std::optional<ChatRoom> roomOfUser(const std::string& userId) const;
    // A new line in the room, on the feed at once when the room has been
    // joined (else with the room's other lines at its first join).
    bool say(const std::string& roomId, const std::string& userId, const std::string& message, std::int64_t date);

private:
    void postLocked(const ChatLine& line);

    Server& server_;
    std::shared_ptr<ActivityFeed> feed_;
    mutable std::mutex mutex_;
    std::vector<ChatRoomDefinition> definitions_;
    std::vector<ChatRoom> rooms_;
    std::vector<ChatLine> lines_;
    std::set<std::string> openedRooms_;
    std::map<std::string, std::string> roomOfUser_;
    long long nextLineId_ = 1;
};

// The global room with lines, a developers' room and the game's room.
void addDefaultChatFixtures(Fixtures& fixtures);

std::shared_ptr<ChatStore> registerChatRoutes(Server& server, std::shared_ptr<ActivityFeed> feed);

}  // namespace localserver
