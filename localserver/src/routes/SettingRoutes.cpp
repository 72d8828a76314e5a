#include "localserver/routes/SettingRoutes.h"

#include <map>
#include <mutex>
#include <set>

#include "localserver/Server.h"
#include "localserver/XmlWriter.h"

namespace localserver {

namespace {

struct SettingDefinition {
    const char* id;
    const char* key;
    const char* name;
};

constexpr SettingDefinition kSettings[] = {
    {"71", "location", "Share my location"},
    {"72", "presence", "Show me online"},
};

struct SettingStore {
    std::mutex mutex;
    // (user, key) to "1"/"0"; absent: on.
    std::map<std::pair<std::string, std::string>, std::string> values;
    // (user, game) subscribed.
    std::set<std::pair<std::string, std::string>> subscriptions;

    std::string valueOf(const std::string& user, const std::string& key)
    {
        auto found = values.find({user, key});
        return found == values.end() ? "1" : found->second;
    }
};

const SettingDefinition* settingNamed(const std::optional<std::string>& key, const std::optional<std::string>& id)
{
    for (const auto& s : kSettings)
        if ((key && *key == s.key) || (id && *id == s.id)) return &s;
    return nullptr;
}

XmlNode settingNode(const char* element, const SettingDefinition& s, const std::string& value)
{
    XmlNode node = XmlNode::parent(element);
    node.add("id", s.id);
    node.add("name", s.name);
    node.add("value", value);
    node.add("value_type", "bool");
    node.add("key", s.key);
    return node;
}

Reply one(XmlNode node)
{
    ResourceList list;
    list.resources.push_back(std::move(node));
    return Reply::xml(writeFlatReply(list));
}

}  // namespace

void registerSettingRoutes(Server& server)
{
    auto store = std::make_shared<SettingStore>();
    server.addRoute("GET", "users/@me/settings.xml", Access::User, [store](const Request& request) {
        if (request.param("udid").value_or("").empty()) return Reply::text(422, "a device is needed");
        std::lock_guard lock(store->mutex);
        ResourceSection privacy{"Privacy", "privacy", {}};
        for (const auto& s : kSettings)
            privacy.list.resources.push_back(settingNode("setting", s, store->valueOf(request.userId, s.key)));
        ResourceSection account{"Account", "account", {}};
        XmlNode row = XmlNode::parent("user_setting_push_controller");
        row.add("controller_name", "NewsLetter");
        row.add("setting_title", "Newsletters");
        row.add("selector_to_call", "");
        account.list.resources.push_back(std::move(row));
        return Reply::xml(writeSectionedReply({privacy, account}));
    });
    server.addRoute("GET", "users/@me/settings/{key}.xml", Access::User, [store](const Request& request) {
        const auto* s = settingNamed(request.pathParam("key"), std::nullopt);
        if (!s) return Reply::text(404, "no such setting");
        std::lock_guard lock(store->mutex);
        return one(settingNode("user_setting", *s, store->valueOf(request.userId, s->key)));
    });
    server.addRoute("POST", "users/@me/settings.xml", Access::User, [store](const Request& request) {
        const auto key = request.param("user_setting[key]");
        const auto id = request.param("user_setting[id]");
        const auto value = request.param("user_setting[value]");
        if ((!key && !id) || (value != std::optional<std::string>("1") && value != std::optional<std::string>("0")))
            return Reply::text(422, "a setting and a value of 1 or 0 are needed");
        const auto* s = settingNamed(key, id);
        if (!s) return Reply::text(404, "no such setting");
        std::lock_guard lock(store->mutex);
        store->values[{request.userId, s->key}] = *value;
        return one(settingNode("user_setting", *s, *value));
    });
    auto newsletter = [&server, store](const Request& request) {
        const auto gameId = request.pathParam("id").value_or("");
        bool known = false;
        for (const auto& game : server.accounts().games()) known = known || game.id == gameId;
        if (!known) return Reply::text(404, "no such game");
        std::lock_guard lock(store->mutex);
        const std::pair<std::string, std::string> entry{request.userId, gameId};
        if (request.method == "POST") store->subscriptions.insert(entry);
        if (request.method == "DELETE" && store->subscriptions.erase(entry) == 0)
            return Reply::text(404, "not subscribed");
        ResourceList list;
        if (store->subscriptions.count(entry) > 0) {
            XmlNode node = XmlNode::parent("news_letter_subscription");
            XmlNode user = XmlNode::parent("user");
            user.add("id", request.userId);
            node.add(std::move(user));
            XmlNode developer = XmlNode::parent("developer");
            developer.add("id", "9" + gameId);
            developer.add("name", "Ruvuru Games");
            node.add(std::move(developer));
            list.resources.push_back(std::move(node));
        }
        return Reply::xml(writeFlatReply(list));
    };
    for (const char* method : {"GET", "POST", "DELETE"})
        server.addRoute(method, "client_applications/{id}/news_letter_subscription.xml", Access::User, newsletter);
}

}  // namespace localserver
