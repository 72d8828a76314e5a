#include "localserver/routes/HelpRoutes.h"

#include "localserver/Server.h"

namespace localserver {

void registerHelpRoutes(Server& server)
{
    server.addRoute("GET", "help.iphone", Access::Open, [](const Request&) {
        Reply reply = Reply::text(200,
                                  "<!DOCTYPE html><html><head><title>Help</title></head><body>"
                                  "<h1>Help</h1><p>Follow players to see what they play; your pending friend "
                                  "requests wait on the Pending tab of your friends.</p></body></html>");
        reply.contentType = "text/html; charset=utf-8";
        return reply;
    });
}

}  // namespace localserver
