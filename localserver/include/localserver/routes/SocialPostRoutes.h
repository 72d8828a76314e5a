#pragma once
// Game events posted to linked networks, notification images and abuse
// flags.
//
// Routes (below the service root):
//   POST notifications.xml           "msg" and at least one "networks[]" of
//        "Fbconnect" or "Twitter" (else 422). A network linked to the
//        caller's account without leave to post answers 430 with
//        <errors><FbconnectCredential> (or TwitterCredential)
//        "extended_credentials", one element per such network, and nothing
//        is posted. Else one "social_notification" per network, in order.
//   GET  client_applications/{id}/notification_images/show.xml   "image_name"
//        (needed, else 422): its "image_url".
//   POST users/{id}/abuse_flags.xml  "abuse_flag[abuse_type]" "chat" or
//        "forum" (else 422), optional "abuse_flag[flaggable_id]" with
//        "abuse_flag[flaggable_type]" "Discussion" or "Post"; 404 for an
//        unknown player. Answers an empty list.
//
// Thread: handlers run on connection threads; Accounts locks; nothing is kept.
namespace localserver {
class Server;

void registerSocialPostRoutes(Server& server);

}  // namespace localserver
