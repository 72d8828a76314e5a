#pragma once
// Where each player's profile picture comes from: a linked network's, their
// own upload, or the default icon. A network's picture changes only when
// the player asks for a refresh, and then kRefreshDelay seconds later (by
// the server's clock; Facebook, slower, kFacebookRefreshDelay), as if the
// network were fetched meanwhile; the own picture is fetched again too.
//
// Routes (below the service root):
//   GET  profile_picture             "users_credential" rows: "twitter" and
//        "fbconnect" (linked or not: an unlinked one can be linked from the
//        page) and "http_basic" (the own picture, empty until one is
//        uploaded); each with "profile_picture_url" and
//        "profile_picture_updated_at", which changes with the picture.
//   POST profile_picture/refresh     the linked networks' pictures and the
//        own one change after their delays; an empty list.
//   POST profile_picture/select/{type}   "twitter" or "fbconnect" when linked
//        (else 422): that picture is used. "http_basic" with a JPEG file
//        part "uploaded_profile_picture" stores it as the own picture; with
//        the empty text instead, the own picture goes and the default icon
//        is used; anything else is 422 and keeps what was stored. The row
//        chosen.
//
// Thread: handlers run on connection threads; the pictures are locked.
#include <cstdint>

namespace localserver {
class Server;

constexpr std::int64_t kRefreshDelay = 5;
constexpr std::int64_t kFacebookRefreshDelay = 10;

void registerPictureRoutes(Server& server);

}  // namespace localserver
