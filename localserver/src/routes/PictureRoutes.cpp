#include "localserver/routes/PictureRoutes.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

constexpr const char* kNetworks[] = {"twitter", "fbconnect"};

struct PlayerPictures {
    std::map<std::string, int> version;  // by type: bumped when its picture changes
    bool uploaded = false;
    std::map<std::string, std::int64_t> dueAt;  // by type: when a refresh asked for changes it
};

class Pictures {
public:
    explicit Pictures(Server& server) : server_(server) {}

    Reply list(const Request& request)
    {
        std::lock_guard lock(mutex_);
        auto& player = catchUp(request.userId);
        ResourceList list;
        for (const char* type : kNetworks) list.resources.push_back(row(request.userId, player, type));
        list.resources.push_back(row(request.userId, player, "http_basic"));
        return Reply::xml(writeFlatReply(list));
    }

    Reply refresh(const Request& request)
    {
        std::lock_guard lock(mutex_);
        auto& player = catchUp(request.userId);
        for (const char* type : kNetworks)
            if (linked(request.userId, type)) player.dueAt[type] = server_.now() + refreshDelay(type);
        player.dueAt["http_basic"] = server_.now() + refreshDelay("http_basic");
        return Reply::xml(writeFlatReply({}));
    }

    Reply select(const Request& request)
    {
        const auto type = request.pathParam("type").value_or("");
        std::lock_guard lock(mutex_);
        auto& player = catchUp(request.userId);
        if (type == "http_basic") {
            const FilePart* picture = request.file("uploaded_profile_picture");
            if (picture && !isJpeg(picture->bytes)) return Reply::text(422, "an uploaded picture must be a JPEG");
            if (!picture && request.param("uploaded_profile_picture") != "")
                return Reply::text(422, "an upload needs \"uploaded_profile_picture\"");
            player.uploaded = picture != nullptr;
            ++player.version[type];
        } else if (std::count(std::begin(kNetworks), std::end(kNetworks), type) == 0 || !linked(request.userId, type)) {
            return Reply::text(422, "that login is not linked");
        }
        ResourceList list;
        list.resources.push_back(row(request.userId, player, type));
        return Reply::xml(writeFlatReply(list));
    }

private:
    static bool isJpeg(const std::string& bytes)
    {
        return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
               static_cast<unsigned char>(bytes[1]) == 0xD8;
    }
    bool linked(const std::string& userId, const std::string& type) const
    {
        auto user = server_.accounts().user(userId);
        return user && std::count(user->credentials.begin(), user->credentials.end(), type) > 0;
    }
    static std::int64_t refreshDelay(const std::string& type)
    {
        return type == "fbconnect" ? kFacebookRefreshDelay : kRefreshDelay;
    }
    // The player's pictures with a refresh that came due applied.
    PlayerPictures& catchUp(const std::string& userId)
    {
        auto& player = players_[userId];
        for (auto due = player.dueAt.begin(); due != player.dueAt.end();) {
            if (server_.now() < due->second) {
                ++due;
                continue;
            }
            ++player.version[due->first];
            due = player.dueAt.erase(due);
        }
        return player;
    }
    XmlNode row(const std::string& userId, PlayerPictures& player, const std::string& type) const
    {
        const std::string version = std::to_string(player.version[type]);
        const bool own = type == "http_basic";
        XmlNode node = XmlNode::parent("users_credential");
        node.add("credential_type", type);
        node.add("profile_picture_url",
                 own && !player.uploaded ? std::string() : "images/" + type + "_" + userId + "_" + version + ".png");
        node.add("profile_picture_updated_at", "v" + version);
        node.add("has_global_permissions", "true");
        node.add("is_linked", linked(userId, type) ? "true" : "false");
        return node;
    }

    Server& server_;
    std::mutex mutex_;
    std::map<std::string, PlayerPictures> players_;
};

}  // namespace

void registerPictureRoutes(Server& server)
{
    auto pictures = std::make_shared<Pictures>(server);
    server.addRoute("GET", "profile_picture", Access::User, [pictures](const Request& r) { return pictures->list(r); });
    server.addRoute("POST", "profile_picture/refresh", Access::User,
                    [pictures](const Request& r) { return pictures->refresh(r); });
    server.addRoute("POST", "profile_picture/select/{type}", Access::User,
                    [pictures](const Request& r) { return pictures->select(r); });
}

}  // namespace localserver
