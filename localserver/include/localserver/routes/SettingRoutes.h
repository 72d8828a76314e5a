#pragma once
// The player's settings and the developer's newsletter.
//
// Routes (below the service root):
//   GET  users/@me/settings.xml      "udid" needed (else 422): one section
//        "Privacy" of the caller's on/off settings, "location" and
//        "presence" (both on at first), as "setting" elements, and one
//        section "Account" with a row that opens a page.
//   GET  users/@me/settings/{key}.xml   one setting (404 unknown key).
//   POST users/@me/settings.xml      "user_setting[key]" or "user_setting[id]"
//        and "user_setting[value]" "1" or "0" (else 422; 404 for an unknown
//        setting): the changed setting, as "user_setting".
//   GET / POST / DELETE client_applications/{id}/news_letter_subscription.xml
//        the caller's subscription to that game's developer: read it (an
//        empty list when none), subscribe, unsubscribe (404 when there was
//        none); 404 for an unknown game.
//
// Thread: handlers run on connection threads; the store locks.
namespace localserver {
class Server;

void registerSettingRoutes(Server& server);

}  // namespace localserver
