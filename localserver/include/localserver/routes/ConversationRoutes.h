#pragma once
// Private conversations and the inbox, over the forum store: a conversation
// is a discussion of two users without a topic, its messages are posts.
//
// Routes (below the service root; every one needs a user token):
//   POST discussions.xml             "discussion[other_user_id]" (unknown or
//        the caller: 422): the "conversation" between the two, opened when
//        there is none, naming the caller under "user" and the other under
//        "other_user".
//   POST discussions/{id}/delete.xml "client_application_id" (must be the
//        calling game's, else 422): removes the caller's conversation (404
//        for anything else) and answers an empty list.
//   GET  subscriptions.xml           "page": the caller's inbox, latest
//        first: followed discussions ("Forum") and conversations
//        ("Conversation"), each with the posts of others not yet read.
// The messages: GET and POST discussions/{id}/posts.xml (ForumRoutes.h).
//
// Thread: the store locks; handlers run on connection threads.
#include <memory>

#include "localserver/routes/ForumRoutes.h"

namespace localserver {
class Server;

void registerConversationRoutes(Server& server, std::shared_ptr<ForumStore> store);

}  // namespace localserver
