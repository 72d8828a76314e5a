#pragma once
// The dashboard's help page as the service serves it:
//
//   GET  help.iphone   an HTML page (open: the page is public).
//
// Thread: handlers run on connection threads and share nothing.
namespace localserver {
class Server;

void registerHelpRoutes(Server& server);

}  // namespace localserver
