#include "localserver/routes/ChatRoutes.h"

#include <algorithm>

#include "localserver/Server.h"
#include "localserver/routes/SocialReplies.h"
#include "localserver/routes/TimeRoutes.h"

namespace localserver {

using social::number;

ChatStore::ChatStore(Server& server, std::shared_ptr<ActivityFeed> feed) : server_(server), feed_(std::move(feed)) {}

std::string ChatStore::load(const Fixtures& fixtures)
{
    std::lock_guard lock(mutex_);
    std::string error;
    auto note = [&](const FixtureRecord& record, const char* what) {
        if (error.empty()) error = record.origin + ": " + what;
    };
    for (const auto& record : fixtures.ofKind("chat_room_definition")) {
        ChatRoomDefinition d{record.field("id").value_or(""), record.field("name").value_or(""),
                             record.field("type").value_or("")};
        if (d.id.empty() || d.type.empty()) {
            note(record, "[chat_room_definition] needs \"id\" and \"type\"");
            continue;
        }
        definitions_.push_back(std::move(d));
    }
    for (const auto& record : fixtures.ofKind("chat_room_instance")) {
        ChatRoom room;
        room.id = record.field("id").value_or("");
        room.definitionId = record.field("definition").value_or("");
        room.name = record.field("name").value_or("");
        room.maxUsers = static_cast<int>(number(record.field("max"), 50));
        if (room.id.empty() || room.definitionId.empty()) {
            note(record, "[chat_room_instance] needs \"id\" and \"definition\"");
            continue;
        }
        rooms_.push_back(std::move(room));
    }
    for (const auto& record : fixtures.ofKind("chat_message")) {
        ChatLine line{record.field("id").value_or(""), record.field("room").value_or(""),
                      record.field("user").value_or(""), record.field("message").value_or(""),
                      number(record.field("date"), 0)};
        const long long id = number(line.id, 0);
        if (id <= 0 || line.roomId.empty()) {
            note(record, "[chat_message] needs a numeric \"id\" and a \"room\"");
            continue;
        }
        nextLineId_ = std::max(nextLineId_, id + 1);
        lines_.push_back(std::move(line));
    }
    return error;
}

std::vector<ChatRoomDefinition> ChatStore::definitions() const
{
    std::lock_guard lock(mutex_);
    return definitions_;
}

std::vector<ChatRoom> ChatStore::roomsOf(const std::string& definitionId) const
{
    std::lock_guard lock(mutex_);
    std::vector<ChatRoom> out;
    std::copy_if(rooms_.begin(), rooms_.end(), std::back_inserter(out),
                 [&](const ChatRoom& r) { return r.definitionId == definitionId; });
    return out;
}

std::optional<ChatRoomDefinition> ChatStore::definition(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    for (const auto& d : definitions_)
        if (d.id == id) return d;
    return std::nullopt;
}

std::optional<ChatRoom> ChatStore::room(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    for (const auto& r : rooms_)
        if (r.id == id) return r;
    return std::nullopt;
}

std::optional<ChatRoom> ChatStore::join(const std::string& roomId, const std::string& userId, bool& full)
{
    std::lock_guard lock(mutex_);
    full = false;
    auto target = std::find_if(rooms_.begin(), rooms_.end(), [&](const ChatRoom& r) { return r.id == roomId; });
    if (target == rooms_.end()) return std::nullopt;
    if (!target->users.count(userId) && static_cast<int>(target->users.size()) >= target->maxUsers) {
        full = true;
        return std::nullopt;
    }
    for (auto& r : rooms_) r.users.erase(userId);
    target->users.insert(userId);
    roomOfUser_[userId] = roomId;
    if (openedRooms_.insert(roomId).second) {
        for (const auto& line : lines_)
            if (line.roomId == roomId) postLocked(line);
    }
    return *target;
}

std::optional<ChatRoom> ChatStore::roomOfUser(const std::string& userId) const
{
    std::lock_guard lock(mutex_);
    auto found = roomOfUser_.find(userId);
    if (found == roomOfUser_.end()) return std::nullopt;
    for (const auto& r : rooms_)
        if (r.id == found->second) return r;
    return std::nullopt;
}

bool ChatStore::say(const std::string& roomId, const std::string& userId, const std::string& message,
                    std::int64_t date)
{
    std::lock_guard lock(mutex_);
    if (std::none_of(rooms_.begin(), rooms_.end(), [&](const ChatRoom& r) { return r.id == roomId; })) return false;
    lines_.push_back(ChatLine{std::to_string(nextLineId_++), roomId, userId, message, date});
    if (openedRooms_.count(roomId)) postLocked(lines_.back());
    return true;
}

void ChatStore::postLocked(const ChatLine& line)
{
    XmlNode node = XmlNode::parent("chat_message");
    node.add("id", line.id);
    node.add("message", line.message);
    node.add("date", formatRailsTime(line.date));
    node.add("player_current_game_icon_url", "images/game_1.png");
    node.add("local_user_owns_application", "true");
    node.add(social::userNode(server_, line.userId));
    feed_->post(std::move(node));
}

void addDefaultChatFixtures(Fixtures& fixtures)
{
    using namespace defaults;
    auto add = [&](const char* kind, Params fields) {
        fixtures.records.push_back(FixtureRecord{kind, std::move(fields), "built-in chat"});
    };
    add("chat_room_definition", {{"id", "1"}, {"name", "Global"}, {"type", "global_room"}});
    add("chat_room_definition", {{"id", "2"}, {"name", "Developers"}, {"type", "developer_room"}});
    add("chat_room_definition", {{"id", "3"}, {"name", kGameName}, {"type", "application_room"}});
    add("chat_room_instance", {{"id", "11"}, {"definition", "1"}, {"name", "Global 1"}, {"max", "50"}});
    add("chat_room_instance", {{"id", "12"}, {"definition", "1"}, {"name", "Global 2"}, {"max", "1"}});
    add("chat_room_instance", {{"id", "21"}, {"definition", "2"}, {"name", "Developers 1"}});
    add("chat_room_instance", {{"id", "31"}, {"definition", "3"}, {"name", "Tolvarine 1"}});
    add("chat_message", {{"id", "7001"}, {"room", "11"}, {"user", kOtherUserId}, {"message", "Anyone past level 12?"},
                         {"date", "1767225600"}});
    add("chat_message", {{"id", "7002"}, {"room", "11"}, {"user", "1004"}, {"message", "Use the swirls & wait"},
                         {"date", "1767225660"}});
    add("chat_message", {{"id", "7003"}, {"room", "11"}, {"user", kOtherUserId}, {"message", "Thanks <3"},
                         {"date", "1767225720"}});
    add("chat_message", {{"id", "7101"}, {"room", "21"}, {"user", "1004"}, {"message", "Patch notes are up"},
                         {"date", "1767225600"}});
}

namespace {

XmlNode definitionNode(const ChatRoomDefinition& d)
{
    XmlNode node = XmlNode::parent("chat_room_definition");
    node.add("id", d.id);
    node.add("room_name", d.name);
    node.add("room_type", d.type);
    return node;
}

XmlNode roomNode(const ChatRoom& room, const std::string& type)
{
    XmlNode node = XmlNode::parent("chat_room_instance");
    node.add("id", room.id);
    node.add("room_name", room.name);
    node.add("num_users_in_room", std::to_string(room.users.size()));
    node.add("max_num_users_in_room", std::to_string(room.maxUsers));
    node.add("room_type", type);
    return node;
}

}  // namespace

std::shared_ptr<ChatStore> registerChatRoutes(Server& server, std::shared_ptr<ActivityFeed> feed)
{
    auto store = std::make_shared<ChatStore>(server, std::move(feed));
    store->load(server.fixtures());
    auto typeOf = [store](const ChatRoom& room) {
        auto d = store->definition(room.definitionId);
        return d ? d->type : std::string();
    };

    server.addRoute("GET", "chat_room_definitions.xml", Access::User, [store, typeOf](const Request& request) {
        const std::map<std::string, std::string> switches = {{"global_room", "include_global_rooms"},
                                                             {"application_room", "include_application_rooms"},
                                                             {"developer_room", "include_developer_rooms"}};
        ResourceList list;
        for (const auto& d : store->definitions()) {
            auto which = switches.find(d.type);
            if (which != switches.end() && social::flag(request.param(which->second)))
                list.resources.push_back(definitionNode(d));
        }
        if (social::flag(request.param("include_last_visited_room")))
            if (auto room = store->roomOfUser(request.userId)) list.resources.push_back(roomNode(*room, typeOf(*room)));
        return Reply::xml(writeFlatReply(list));
    });
    server.addRoute("GET", "chat_room_instances.xml", Access::User, [store](const Request& request) {
        auto d = store->definition(request.param("chat_room_definition_id").value_or(""));
        if (!d) return Reply::text(404, "no such chat room definition");
        std::vector<XmlNode> nodes;
        for (const auto& room : store->roomsOf(d->id)) nodes.push_back(roomNode(room, d->type));
        return Reply::xml(social::pageReply(request, nodes, ChatStore::kPageSize));
    });
    server.addRoute("GET", "chat_room_instances/join", Access::User, [store, typeOf](const Request& request) {
        bool full = false;
        auto room = store->join(request.param("chat_room_instance_id").value_or(""), request.userId, full);
        if (full) return Reply::text(403, "the room is full");
        if (!room) return Reply::text(404, "no such chat room");
        return Reply::xml(social::oneReply(roomNode(*room, typeOf(*room))));
    });
    server.addRoute("GET", "chat_room_instances/show", Access::User, [store, typeOf](const Request& request) {
        ResourceList list;
        if (auto room = store->roomOfUser(request.userId)) list.resources.push_back(roomNode(*room, typeOf(*room)));
        return Reply::xml(writeFlatReply(list));
    });
    return store;
}

}  // namespace localserver
