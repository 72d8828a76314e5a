#pragma once
// POST "users/@me/set_location.xml"   user token required.
//      "lat" and "lng" in decimal degrees (latitude -90 to 90, longitude
//      -180 to 180), "allowed" "1" when the player allowed sharing. The
//      position becomes the caller's in Accounts (User::position) and the
//      reply is an empty resource list. A missing, malformed or out-of-range
//      coordinate: 422 and nothing is stored.
namespace localserver {
class Server;

void registerLocationRoutes(Server& server);

}  // namespace localserver
