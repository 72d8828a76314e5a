#pragma once
// Players, following and the logins linked to an account.
//
// Routes (below the service root; "me" and "@me" stand for the caller):
//   GET  users/{id}/                 one player (404 unknown).
//   GET  users/for_device.xml        "udid" (needed, else 422), no user
//        token: the players with a name.
//   GET  users.xml                   "name": players whose name holds it
//        (any case), in pages; or "scope" "people-of-interest" (whom
//        "user_id" follows; "with_client_application" keeps those who play
//        that game; paged without "not_sectioned", as "game_player"s with
//        their "app_gamerscore", and when there are none the networks the
//        caller has not linked as table metadata) or "followers" (who follows "user_id", the caller when
//        absent; "im-not-following" drops those the caller follows).
//        "page"/"per_page" page the list; "full_alphabetical_list" answers
//        it whole, in sections by first letter unless "not_sectioned" "yes".
//   GET  invites/new/invitable_friends   the caller's followed players.
//   POST / DELETE users/{id}/following.xml   follow / stop following;
//        DELETE with "follower" "yes" removes {id} from the caller's
//        followers instead.
//   GET  users_credentials           the three login types with "is_linked",
//        filtered by the "only_include_…" flags, as one section.
//   GET  users_credentials/import_friends  "credential_name" (linked, else
//        422): the caller follows every player linked to the same network.
//   GET  http_basic_credentials/{id}.xml   the player's e-mail login (404
//        when the player has none).
//
// Fixture kind "plays" (user, game): who plays which game.
//
// Thread: handlers run on connection threads; the store locks.
#include <memory>

namespace localserver {
class Server;
struct Fixtures;

// Adds the routes; the built-in fixtures' players play the default game.
void registerSocialUserRoutes(Server& server);
// Ben and a third, linked player (Dora, on Facebook) who plays the game.
void addDefaultSocialFixtures(Fixtures& fixtures);

}  // namespace localserver
