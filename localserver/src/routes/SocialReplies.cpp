#include "localserver/routes/SocialReplies.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "localserver/Server.h"

namespace localserver::social {

long long number(const std::optional<std::string>& text, long long fallback)
{
    if (!text || text->empty()) return fallback;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text->c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0' ? value : fallback;
}

bool flag(const std::optional<std::string>& text)
{
    return text && (*text == "true" || *text == "1" || *text == "yes");
}

bool blank(const std::optional<std::string>& text)
{
    return !text || text->find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string boolText(bool value)
{
    return value ? "true" : "false";
}

XmlNode userNode(Server& server, const std::string& userId)
{
    auto user = server.accounts().user(userId);
    XmlNode node = XmlNode::parent("user");
    node.add("id", userId);
    node.add("name", user ? user->name : "");
    node.add("profile_picture_url", "images/user_" + userId + ".png");
    return node;
}

std::string pageReply(const Request& request, const std::vector<XmlNode>& all, std::uint32_t pageSize)
{
    const long long asked = number(request.param("page"), 1);
    const auto page = static_cast<std::uint32_t>(std::clamp<long long>(asked, 1, 1 << 20));
    ResourceList list;
    list.header = paginate(static_cast<std::uint32_t>(all.size()), page, pageSize);
    const std::size_t from = std::size_t{page - 1} * pageSize;
    for (std::size_t i = from; i < all.size() && i < from + pageSize; ++i) list.resources.push_back(all[i]);
    return writeFlatReply(list);
}

std::string oneReply(XmlNode node)
{
    ResourceList list;
    list.resources.push_back(std::move(node));
    return writeFlatReply(list);
}

}  // namespace localserver::social
