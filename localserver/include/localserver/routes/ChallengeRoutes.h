#pragma once
// Challenges between players and the game's challenge definitions:
//
//   GET  "challenge_definitions.xml"        the definitions ("challenge_definition":
//                                           name, client_application_id, image_url,
//                                           multi_attempt); with "challenge_definition_stats"
//                                           one "challenge_definition_stats" each: the
//                                           caller's wins, losses and ties, and with
//                                           "compared_user_id" that player's wins and losses.
//   GET  "challenge_definitions/{id}.xml"   one definition; 404 when unknown.
//   POST "challenges.xml"                   multipart: "challenge_definition_id" (422 when
//                                           unknown), "challenge_description",
//                                           "challenge_user_message", "challenge_hidden_text",
//                                           "challenge_response_to_challenge_id",
//                                           "challenge_user_ids[]" (422 when none), file part
//                                           "challenge_user_data". One record per recipient;
//                                           answers the challenge.
//   GET  "challenges.xml"                   the challenges the caller sent.
//   GET  "challenges/{id}/data.blob"        the blob as sent (open, like a storage host).
//   GET  "challenges_users/{id}.xml"        one record, for its recipient or the sender.
//   POST "challenges_users/{id}/update.xml" the recipient's "challenges_user[result]"
//                                           (win, lose, tie; with "result_text") or
//                                           "challenges_user[ignored]". A result counts an
//                                           attempt and completes a one-shot challenge, or a
//                                           multi-attempt one on a win; a reject marks the
//                                           record ignored and completed, so it leaves the
//                                           pending list. 404 for anyone else.
//   GET  "challenges_users.xml"             the caller's records: "incomplete" (pending,
//                                           "mark_as_viewed" marks the listed ones viewed
//                                           after the reply), "history" (completed, of one
//                                           "challenge_definition_id" when given),
//                                           "complete"; or with "challenge_id" every
//                                           recipient's record of that challenge, the caller's
//                                           own record in the table metadata.
//
// A challenge without data has the data URL "/empty.blob". Every method
// locks: tests read and plant records while connection threads serve.
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace localserver {
class Server;

struct ChallengeDefinitionFixture {
    std::string id;
    std::string name;
    std::string clientApplicationId;
    std::string imageUrl;
    bool multiAttempt = false;
};

struct ChallengeRecord {
    std::string id;
    std::string challengeId;
    std::string recipientId;
    std::string result;  // "", "win", "lose", "tie"
    std::string resultText;
    bool completed = false;
    bool viewed = false;
    bool ignored = false;
    unsigned attempts = 0;
};

struct SentChallenge {
    std::string id;
    std::string definitionId;
    std::string challengerId;
    std::string description;
    std::string userMessage;
    std::string hiddenText;
    std::optional<std::string> responseTo;
    std::optional<std::string> data;
};

class ChallengeStore {
public:
    void addDefinition(ChallengeDefinitionFixture definition);
    std::optional<ChallengeRecord> record(const std::string& id) const;
    std::vector<ChallengeRecord> records() const;
    std::optional<SentChallenge> challenge(const std::string& id) const;

private:
    friend class ChallengeRoutes;
    mutable std::mutex mutex_;
    std::vector<ChallengeDefinitionFixture> definitions_;
    std::map<std::string, SentChallenge> challenges_;
    std::vector<ChallengeRecord> records_;
    int nextId_ = 1;
};

// Adds the routes over a store holding the default definitions ("1" one-shot,
// "2" multi-attempt, both of the default game) and answers the store.
std::shared_ptr<ChallengeStore> registerChallengeRoutes(Server& server);

}  // namespace localserver
