#pragma once
// Profiles, gamer scores, the ticker and push tokens.
//
// Routes (below the service root; "me" stands for the caller):
//   GET  profiles/{id}/             three sections: "player" (the player
//        ("user"), the caller's game with the player's "user_game_stat", and
//        the "gamerscore"), "friends" (the players the player follows) and
//        "games" (the games the player plays), each a first page whose
//        header counts them all; another
//        player's needs "compared_to_user_id" "me" (422 without); 404 for
//        an unknown player.
//   GET  profiles/{id}/gamerscore   the player's "gamerscore" (404 unknown).
//   GET  profiles/viewed_own        an empty list.
//   GET  tickers.xml                the ticker's lines, 5 to a page ("page").
//   POST push_notification_device_tokens.xml   "apns_environment"
//        ("sandbox" or "production", else 422), "udid" and "device_token"
//        (both needed, else 422): the device's token, replacing what the
//        device registered before; answered as "push_notification_device_token".
//
// Thread: handlers run on connection threads; the store locks.
namespace localserver {
class Server;

void registerProfileRoutes(Server& server);

}  // namespace localserver
