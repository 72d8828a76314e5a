#include "localserver/routes/ChatLineRoutes.h"

#include "localserver/Server.h"
#include "localserver/routes/ChatRoutes.h"
#include "localserver/routes/SocialReplies.h"

namespace localserver {

void registerChatLineRoutes(Server& server, std::shared_ptr<ChatStore> chat)
{
    server.addRoute("POST", "chat_messages.xml", Access::User, [chat, &server](const Request& request) {
        const auto message = request.param("chat_message[message]");
        if (!message || message->find_first_not_of(" \t\r\n") == std::string::npos)
            return Reply::text(422, "a chat message needs some text");
        const auto room = chat->roomOfUser(request.userId);
        if (!room || !chat->say(room->id, request.userId, *message, server.now()))
            return Reply::text(403, "join a chat room first");
        Reply reply = Reply::xml(writeFlatReply(ResourceList{}));
        reply.status = 201;
        return reply;
    });
}

}  // namespace localserver
