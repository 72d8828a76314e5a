#include "localserver/routes/ChallengeRoutes.h"

#include <algorithm>

#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "localserver/routes/SocialReplies.h"

namespace localserver {

void ChallengeStore::addDefinition(ChallengeDefinitionFixture definition)
{
    std::lock_guard lock(mutex_);
    definitions_.push_back(std::move(definition));
}

std::optional<ChallengeRecord> ChallengeStore::record(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    for (const auto& record : records_)
        if (record.id == id) return record;
    return std::nullopt;
}

std::vector<ChallengeRecord> ChallengeStore::records() const
{
    std::lock_guard lock(mutex_);
    return records_;
}

std::optional<SentChallenge> ChallengeStore::challenge(const std::string& id) const
{
    std::lock_guard lock(mutex_);
    auto found = challenges_.find(id);
    if (found == challenges_.end()) return std::nullopt;
    return found->second;
}

// The handlers, under the store's lock.
class ChallengeRoutes {
public:
    ChallengeRoutes(Server& server, std::shared_ptr<ChallengeStore> store) : server_(server), store_(std::move(store)) {}

    const ChallengeDefinitionFixture* definition(const std::string& id) const
    {
        for (const auto& definition : store_->definitions_)
            if (definition.id == id) return &definition;
        return nullptr;
    }

    XmlNode definitionNode(const ChallengeDefinitionFixture& d) const
    {
        return resourceNode("challenge_definition", d.id,
                            {{"name", d.name},
                             {"client_application_id", d.clientApplicationId},
                             {"image_url", d.imageUrl},
                             {"multi_attempt", d.multiAttempt ? "1" : "0"}});
    }

    XmlNode challengeNode(const SentChallenge& c) const
    {
        XmlNode node = resourceNode("challenge", c.id,
                                    {{"description", c.description},
                                     {"hidden_text", c.hiddenText},
                                     {"user_message", c.userMessage},
                                     {"user_data_url", c.data ? "/challenges/" + c.id + "/data.blob" : "/empty.blob"}});
        if (const auto* d = definition(c.definitionId)) node.add(definitionNode(*d));
        node.add(social::userNode(server_, c.challengerId));
        return node;
    }

    XmlNode recordNode(const ChallengeRecord& r) const
    {
        XmlNode node = resourceNode("challenges_user", r.id,
                                    {{"result_text", r.resultText},
                                     {"result", r.result},
                                     {"completed_at", r.completed ? "2026-12-01 10:00:00" : ""},
                                     {"viewed", r.viewed ? "1" : "0"},
                                     {"attempts", std::to_string(r.attempts)}});
        node.add(challengeNode(store_->challenges_.at(r.challengeId)));
        node.add(social::userNode(server_, r.recipientId));
        return node;
    }

    ChallengeRecord* ownRecord(const std::string& id, const std::string& userId)
    {
        for (auto& record : store_->records_)
            if (record.id == id && record.recipientId == userId) return &record;
        return nullptr;
    }

    Reply definitions(const Request& request)
    {
        std::lock_guard lock(store_->mutex_);
        std::vector<XmlNode> nodes;
        const bool stats = social::flag(request.param("challenge_definition_stats"));
        const auto compared = request.param("compared_user_id");
        for (const auto& d : store_->definitions_) {
            if (!stats) {
                nodes.push_back(definitionNode(d));
                continue;
            }
            auto count = [&](const std::string& userId, const std::string& result) {
                return std::to_string(std::count_if(store_->records_.begin(), store_->records_.end(), [&](const auto& r) {
                    return r.recipientId == userId && r.result == result &&
                           store_->challenges_.at(r.challengeId).definitionId == d.id;
                }));
            };
            XmlNode node = XmlNode::parent("challenge_definition_stats");
            node.add(definitionNode(d));
            node.add("local_users_wins", count(request.userId, "win"));
            node.add("local_users_losses", count(request.userId, "lose"));
            node.add("local_users_ties", count(request.userId, "tie"));
            if (compared && !compared->empty()) {
                node.add("compared_users_wins", count(*compared, "win"));
                node.add("compared_users_losses", count(*compared, "lose"));
            }
            nodes.push_back(std::move(node));
        }
        return Reply::xml(social::pageReply(request, nodes, 20));
    }

    Reply oneDefinition(const Request& request)
    {
        std::lock_guard lock(store_->mutex_);
        const auto* d = definition(request.pathParam("id").value_or(""));
        if (d == nullptr) return Reply::text(404, "no such challenge definition");
        return Reply::xml(social::oneReply(definitionNode(*d)));
    }

    Reply send(const Request& request)
    {
        std::lock_guard lock(store_->mutex_);
        SentChallenge challenge;
        challenge.definitionId = request.param("challenge_definition_id").value_or("");
        if (definition(challenge.definitionId) == nullptr) return Reply::text(422, "unknown challenge definition");
        const auto recipients = request.paramValues("challenge_user_ids[]");
        if (recipients.empty()) return Reply::text(422, "no recipients");
        challenge.id = std::to_string(store_->nextId_++);
        challenge.challengerId = request.userId;
        challenge.description = request.param("challenge_description").value_or("");
        challenge.userMessage = request.param("challenge_user_message").value_or("");
        challenge.hiddenText = request.param("challenge_hidden_text").value_or("");
        challenge.responseTo = request.param("challenge_response_to_challenge_id");
        if (const FilePart* blob = request.file("challenge_user_data")) challenge.data = blob->bytes;
        store_->challenges_[challenge.id] = challenge;
        for (const auto& recipient : recipients) {
            ChallengeRecord record;
            record.id = std::to_string(store_->nextId_++);
            record.challengeId = challenge.id;
            record.recipientId = recipient;
            store_->records_.push_back(record);
        }
        return Reply::xml(social::oneReply(challengeNode(challenge)));
    }

    Reply sent(const Request& request)
    {
        std::lock_guard lock(store_->mutex_);
        std::vector<XmlNode> nodes;
        for (const auto& [id, challenge] : store_->challenges_)
            if (challenge.challengerId == request.userId) nodes.push_back(challengeNode(challenge));
        return Reply::xml(social::pageReply(request, nodes, 20));
    }

    Reply data(const Request& request)
    {
        auto challenge = store_->challenge(request.pathParam("id").value_or(""));
        if (!challenge || !challenge->data) return Reply::text(404, "no such blob");
        Reply reply;
        reply.contentType = "application/octet-stream";
        reply.body = *challenge->data;
        return reply;
    }

    Reply oneRecord(const Request& request)
    {
        std::lock_guard lock(store_->mutex_);
        const auto id = request.pathParam("id").value_or("");
        for (const auto& record : store_->records_) {
            if (record.id != id) continue;
            const bool sender = store_->challenges_.at(record.challengeId).challengerId == request.userId;
            if (record.recipientId == request.userId || sender) return Reply::xml(social::oneReply(recordNode(record)));
        }
        return Reply::text(404, "no such challenge");
    }

    Reply update(const Request& request)
    {
        std::lock_guard lock(store_->mutex_);
        ChallengeRecord* record = ownRecord(request.pathParam("id").value_or(""), request.userId);
        if (record == nullptr) return Reply::text(404, "no such challenge");
        if (social::flag(request.param("challenges_user[ignored]"))) {
            record->ignored = true;
            record->completed = true;
        }
        if (auto text = request.param("challenges_user[result_text]")) record->resultText = *text;
        if (auto result = request.param("challenges_user[result]")) {
            if (*result != "win" && *result != "lose" && *result != "tie") return Reply::text(422, "bad result");
            const auto& challenge = store_->challenges_.at(record->challengeId);
            const auto* d = definition(challenge.definitionId);
            record->result = *result;
            ++record->attempts;
            record->completed = record->completed || !d || !d->multiAttempt || *result == "win";
        }
        return Reply::xml(social::oneReply(recordNode(*record)));
    }

    Reply list(const Request& request)
    {
        std::lock_guard lock(store_->mutex_);
        std::vector<XmlNode> nodes;
        if (auto challengeId = request.param("challenge_id")) {
            std::optional<std::vector<XmlNode>> own;
            for (const auto& record : store_->records_) {
                if (record.challengeId != *challengeId) continue;
                nodes.push_back(recordNode(record));
                if (record.recipientId == request.userId) own = std::vector<XmlNode>{recordNode(record)};
            }
            ResourceList page;
            page.resources = std::move(nodes);
            page.tableMetaData = std::move(own);
            return Reply::xml(writeFlatReply(page));
        }
        const bool pending = social::flag(request.param("incomplete"));
        const auto type = request.param("challenge_definition_id");
        std::vector<ChallengeRecord*> listed;
        for (auto& record : store_->records_) {
            if (record.recipientId != request.userId) continue;
            if (pending ? record.completed : !record.completed) continue;
            if (type && !type->empty() && store_->challenges_.at(record.challengeId).definitionId != *type) continue;
            listed.push_back(&record);
            nodes.push_back(recordNode(record));
        }
        Reply reply = Reply::xml(social::pageReply(request, nodes, 20));
        if (pending && social::flag(request.param("mark_as_viewed")))
            for (auto* record : listed) record->viewed = true;
        return reply;
    }

private:
    Server& server_;
    std::shared_ptr<ChallengeStore> store_;
};

std::shared_ptr<ChallengeStore> registerChallengeRoutes(Server& server)
{
    auto store = std::make_shared<ChallengeStore>();
    store->addDefinition({"1", "Beat my time", defaults::kGameId, "challenge_icons/1.png", false});
    store->addDefinition({"2", "Top my score", defaults::kGameId, "challenge_icons/2.png", true});
    auto routes = std::make_shared<ChallengeRoutes>(server, store);
    server.addRoute("GET", "challenge_definitions.xml", Access::User,
                    [routes](const Request& request) { return routes->definitions(request); });
    server.addRoute("GET", "challenge_definitions/{id}.xml", Access::User,
                    [routes](const Request& request) { return routes->oneDefinition(request); });
    server.addRoute("POST", "challenges.xml", Access::User,
                    [routes](const Request& request) { return routes->send(request); });
    server.addRoute("GET", "challenges.xml", Access::User,
                    [routes](const Request& request) { return routes->sent(request); });
    server.addRoute("GET", "challenges/{id}/data.blob", Access::Open,
                    [routes](const Request& request) { return routes->data(request); });
    server.addRoute("GET", "challenges_users/{id}.xml", Access::User,
                    [routes](const Request& request) { return routes->oneRecord(request); });
    server.addRoute("POST", "challenges_users/{id}/update.xml", Access::User,
                    [routes](const Request& request) { return routes->update(request); });
    server.addRoute("GET", "challenges_users.xml", Access::User,
                    [routes](const Request& request) { return routes->list(request); });
    return store;
}

}  // namespace localserver
