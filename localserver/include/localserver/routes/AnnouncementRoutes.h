#pragma once
// A game's announcements, in two sections: the game's own and its
// developer's.
//
// Route (below the service root; a consumer signature, no token needed):
//   GET client_applications/{id}/forums/announcements.xml   "since" (an HTTP
//       date, "Thu, 01 Jan 2026 00:00:00 +0000"): every announcement of the
//       game (unknown game: 404) as a sectioned reply, "Game" then
//       "Developer", each newest first; those created after "since" are
//       "unread" (all of them without a readable "since").
//
// Fixture kind "announcement": id, game, section ("game" or "developer"),
// subject, body, sticky, important, created_at and updated_at (seconds
// since 1970), linked_game.
//
// Thread: the announcements are fixed at registration; handlers run on
// connection threads.
#include "localserver/Fixtures.h"

namespace localserver {
class Server;

// Two announcements of the game (one sticky, from last year) and two of its
// developer.
void addDefaultAnnouncementFixtures(Fixtures& fixtures);

void registerAnnouncementRoutes(Server& server);

}  // namespace localserver
