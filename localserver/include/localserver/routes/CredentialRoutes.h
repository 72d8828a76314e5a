#pragma once
// Taking a login off the caller's account, and the account off a device.
//
// Routes (below the service root):
//   GET users_credentials/remove.xml     "credential_type" "TwitterCredential"
//        or "FbconnectCredential" (else 422): that login leaves the account
//        (404 when it was not linked); an empty list.
//   GET users/remove_from_device.xml     "user_id" the caller's own id (else
//        403) and "udid" (else 422): an empty list.
//
// Thread: handlers run on connection threads; Accounts locks.
namespace localserver {
class Server;

void registerCredentialRoutes(Server& server);

}  // namespace localserver
