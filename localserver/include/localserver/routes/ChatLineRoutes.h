#pragma once
// Saying a line in the chat room the caller is in; the line reaches the
// room's players (the caller too) through the activity feed.
//
// Route (below the service root; needs a user token):
//   POST chat_messages.xml   "chat_message[message]": 201 with an empty
//       list; 422 for a blank line; 403 when the caller is in no room.
//
// Thread: handlers run on connection threads; the chat store locks.
#include <memory>

namespace localserver {

class Server;
class ChatStore;

void registerChatLineRoutes(Server& server, std::shared_ptr<ChatStore> chat);

}  // namespace localserver
