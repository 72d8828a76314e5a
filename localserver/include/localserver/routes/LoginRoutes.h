#pragma once
namespace localserver {
class Server;

// The log-in routes:
//   POST "bootstrap.xml" (OAuth, consumer): the bootstrap reply for the
//     device ("udid") and the user ("user_id", or a new account with
//     "create_new_account" = "1", or the device's last player, or a new one),
//     with a fresh access token for that user and the user's gamerscore
//     (the points of the unlocks the server holds), then the offline block
//     when the test set one. An unknown user id is 404. The usage statistics
//     ("[user_stats]total_game_sessions" and the rest) are recorded in the
//     log-in state.
//   POST "xp/devices" (JSON signature): registers the device, opens a JSON
//     session (the "_hc_session" cookie) and answers the device record.
//   POST "xp/sessions" (JSON signature, a live session): opens the user
//     session for "user_id" (checking "password" when the user has one).
//   DELETE "xp/sessions" (JSON signature, a user session): closes it.
// JSON routes answer errors in the service's form
// {"exception": {"class": ..., "message": ...}}: 401 for a bad signature or
// a missing or expired session, 404 for an unknown user, 422 for a missing
// field.
void registerLoginRoutes(Server& server);

}  // namespace localserver
