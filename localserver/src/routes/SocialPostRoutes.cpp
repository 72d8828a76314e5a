#include "localserver/routes/SocialPostRoutes.h"

#include <algorithm>

#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

bool holds(const std::vector<std::string>& list, const std::string& value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

void registerSocialPostRoutes(Server& server)
{
    server.addRoute("POST", "notifications.xml", Access::User, [&server](const Request& request) {
        const auto networks = request.paramValues("networks[]");
        if (networks.empty()) return Reply::text(422, "no network to post to");
        if (!request.param("msg")) return Reply::text(422, "a message is needed");
        const auto user = server.accounts().user(request.userId);
        if (!user) return Reply::text(404, "no such user");
        std::string needMore;
        for (const auto& network : networks) {
            if (network != "Fbconnect" && network != "Twitter") return Reply::text(422, "unknown network " + network);
            const std::string login = network == "Fbconnect" ? "fbconnect" : "twitter";
            // Only a link made without the leave is refused: a network the
            // player never linked is posted as the game asks.
            if (holds(user->credentials, login) && !holds(user->postingAllowed, login))
                needMore += "<" + network + "Credential>extended_credentials</" + network + "Credential>";
        }
        if (!needMore.empty()) {
            Reply reply = Reply::xml("<errors>" + needMore + "</errors>");
            reply.status = 430;
            return reply;
        }
        ResourceList list;
        for (const auto& network : networks) {
            XmlNode node = XmlNode::parent("social_notification");
            node.add("network", network);
            node.add("msg", *request.param("msg"));
            list.resources.push_back(std::move(node));
        }
        return Reply::xml(writeFlatReply(list));
    });
    server.addRoute("GET", "client_applications/{id}/notification_images/show.xml", Access::User,
                    [](const Request& request) {
                        const auto name = request.param("image_name").value_or("");
                        if (name.empty()) return Reply::text(422, "an image name is needed");
                        XmlNode node = XmlNode::parent("image_url");
                        node.add("url", "images/notifications/" + request.pathParam("id").value_or("") + "/" + name);
                        ResourceList list;
                        list.resources.push_back(std::move(node));
                        return Reply::xml(writeFlatReply(list));
                    });
    server.addRoute("POST", "users/{id}/abuse_flags.xml", Access::User, [&server](const Request& request) {
        if (!server.accounts().user(request.pathParam("id").value_or(""))) return Reply::text(404, "no such player");
        const auto type = request.param("abuse_flag[abuse_type]").value_or("");
        if (type != "chat" && type != "forum") return Reply::text(422, "unknown abuse type");
        const auto flaggable = request.param("abuse_flag[flaggable_type]");
        if (flaggable && *flaggable != "Discussion" && *flaggable != "Post")
            return Reply::text(422, "unknown flaggable type");
        return Reply::xml(writeFlatReply(ResourceList{}));
    });
}

}  // namespace localserver
