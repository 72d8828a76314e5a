#pragma once
// Linking a login to the caller's account, taking one off, and the account
// off a device. No network is asked: a Facebook link stands for a finished
// Facebook connect, a Twitter one for a checked user name and password.
//
// Routes (below the service root):
//   POST users_credentials/link.xml      "credential_type" "fbconnect",
//        "twitter" (with "users_credential[username]" and "[password]") or
//        "http_basic" (with "users_credential[email]", an address with an
//        "@", and "users_credential[password]" of 6 characters or more);
//        else 422. The login joins the account (once); with
//        "posting_permission" 1 a Facebook or Twitter login also lets the
//        game post through it. An empty list.
//   GET users_credentials/remove.xml     "credential_type" "TwitterCredential"
//        or "FbconnectCredential" (else 422): that login leaves the account
//        with its leave to post (404 when it was not linked); an empty list.
//   GET users/remove_from_device.xml     "user_id" the caller's own id (else
//        403) and "udid" (else 422): an empty list.
//
// Thread: handlers run on connection threads; Accounts locks.
namespace localserver {
class Server;

void registerCredentialRoutes(Server& server);

}  // namespace localserver
