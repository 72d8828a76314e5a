#pragma once
// Invitations to a game and the game's invitation definitions.
//
// Routes (below the service root):
//   GET  invites.xml                 the caller's received invitations not
//        ignored, newest first, in pages of 10 ("page"); "mark_viewed"
//        "true" turns "unviewed" ones "viewed" after answering them.
//   PUT  invites/{id}/ignore         the caller's own invitation only (404
//        otherwise): it is "ignored" and leaves the list.
//   POST invites.xml                 "key" a definition of the caller's game
//        (422 otherwise), "invite[sender_message]", and receivers in order:
//        "invite[receivers][]" (player ids, 422 for an unknown one),
//        "invite[sms_receivers][]", "invite[email_receivers][]"; at least
//        one (else 422). Answers one "invite" per player invited.
//   GET  invite_definitions/{id}.xml by id or by identifier (404 unknown).
//   GET  invite_definitions/primary  the caller's game's primary one.
//
// The built-in game has two definitions: "31" "friends" (primary) and "32"
// "rivals".
//
// Thread: handlers run on connection threads; the store locks.
namespace localserver {
class Server;

void registerInviteRoutes(Server& server);

}  // namespace localserver
