#pragma once
#include <string>
#include <vector>

#include "localserver/Accounts.h"
#include "localserver/RouteTable.h"

namespace localserver {
class Server;

// The plain-text page at the service root, for a developer calling the
// server by hand: how each kind of route is signed, the games' keys, and
// every route with its signing.
std::string indexPage(const std::string& serviceRootUrl, const std::vector<Game>& games,
                      const std::vector<RouteTable::Entry>& routes);

// GET "" (the service root itself), unsigned. The page is written from the
// route table at each request, so routes added later are on it too.
void registerIndexRoute(Server& server);

}  // namespace localserver
