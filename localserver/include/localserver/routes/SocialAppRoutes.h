#pragma once
// Games as the social pages see them.
//
// Routes (below the service root):
//   GET  apps/{id}.xml    "game_profile_page_info": the game's profile info;
//        with "compared_user_id", a comparison info holding it (404 for an
//        unknown game or player).
//   POST client_applications/{id}/users/review.xml
//        "client_application_user[favorite]" and optional "[review]": the
//        caller's favourite flag and review, answered as
//        "client_application_user".
//
// Thread: handlers run on connection threads; the store locks.
namespace localserver {
class Server;

void registerSocialAppRoutes(Server& server);

}  // namespace localserver
