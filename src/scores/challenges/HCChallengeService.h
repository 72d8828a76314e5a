#pragma once
// Challenges on the service: one record, sending a challenge (with its data
// blob) to players, a recipient's result and rejection, the pending,
// completed, sent and history lists, the recipients of one challenge, the
// players one may challenge, the data download, a challenge announced by
// push (a banner) and the file form of a record.
//
// A record or definition id that names nothing ("" or nil) fails the call
// at once without a request; ids travel as one escaped path segment, and
// every text goes through the query writer's escaping. While the service is
// not running a call answers nil and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread. The data download's
// HTTP service is used on the main thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/services/HCService.h"
#include "kernel/http/HCHttpService.h"
#include "platform/foundation/Values.h"

class HCChallengeToUser;

// The send and result screens, made by the pages above this layer (start-up
// installs them; without them the display calls show nothing).
struct HCChallengeScreens {
    // Definition id, challenge text, data.
    std::function<void(const std::optional<std::string>&, const std::optional<std::string>&,
                       const std::shared_ptr<platform::Data>&)>
        showSend;
    // The attempted record (completed and described already), the result
    // data, the text of a challenge sent back.
    std::function<void(const std::shared_ptr<HCChallengeToUser>&, const std::shared_ptr<platform::Data>&,
                       const std::optional<std::string>&)>
        showResult;
};

class HCChallengeService final : public HCService {
public:
    using Text = std::optional<std::string>;
    using DataPtr = std::shared_ptr<platform::Data>;

    static void setScreens(HCChallengeScreens screens);
    // The player picks the friends the game's challenge goes to.
    static void displaySendChallengeModal(const Text& challengeDefinitionId, const Text& challengeText,
                                          const DataPtr& challengeData);
    // After an attempt: the record becomes completed (a one-shot challenge
    // whatever the result, a multi-attempt one when won) with the result
    // text, and its result screen shows.
    static void displayChallengeCompletedModal(const std::shared_ptr<HCChallengeToUser>& record,
                                               const DataPtr& resultData, const Text& resultDescription,
                                               const Text& reChallengeDescription);

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCChallengeService> sharedInstance();

    static HCRequestHandlePtr getChallengeToUserWithId(const Text& challengeToUserId, const HCDelegate& onSuccess,
                                                       const HCDelegate& onFailure);
    // `inResponseToChallenge` is the id of the record that was played, nil
    // for a new challenge. The blob goes in its stored form.
    static HCRequestHandlePtr sendChallenge(const Text& challengeDefinitionId, const Text& challengeText,
                                            const DataPtr& challengeData, const Text& userMessage,
                                            const Text& hiddenText, const std::vector<std::string>& userIds,
                                            const Text& inResponseToChallenge, const HCDelegate& onSuccess,
                                            const HCDelegate& onFailure);
    // A result other than 1 to 3 sends only the text.
    static HCRequestHandlePtr submitChallengeResult(const Text& challengeToUserId, int result,
                                                    const Text& resultDescription, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static HCRequestHandlePtr rejectChallenge(const Text& challengeToUserId, const HCDelegate& onSuccess,
                                              const HCDelegate& onFailure);
    // The blob behind a data URL (a path below the service root). Success
    // receives the blob as sent; a status outside 200..299 or a failed
    // transfer reaches the failure with nil. A new download cancels the one
    // still running. Nil, without a callback, for a nil or empty URL.
    static HCRequestHandlePtr downloadChallengeData(const Text& url, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);

    static void getChallengeHistoryForType(const Text& challengeDefinitionId, const Text& clientApplicationId,
                                           int pageIndex, const Text& comparedToUserId, const HCDelegate& onSuccess,
                                           const HCDelegate& onFailure);
    static void getChallengeHistoryForType(const Text& challengeDefinitionId, const Text& clientApplicationId,
                                           int pageIndex, const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static void getChallengeHistoryAcrossAllTypes(uint32_t pageIndex, const HCDelegate& onSuccess,
                                                  const HCDelegate& onFailure);

    // The lists the challenge pages show. The pending list marks what it
    // returns as viewed.
    static void getPendingChallengesForLocalUserAndApplication(const Text& clientApplicationId, uint32_t pageIndex,
                                                               const Text& comparedToUserId,
                                                               const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure);
    static void getPendingChallengesForLocalUserAndApplication(const Text& clientApplicationId, uint32_t pageIndex,
                                                               const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure);
    static void getPendingChallengesForLocalUserAndLocalApplication(uint32_t pageIndex, const HCDelegate& onSuccess,
                                                                    const HCDelegate& onFailure);
    static void getCompletedChallengesForLocalUserAndLocalApplication(uint32_t pageIndex, const HCDelegate& onSuccess,
                                                                      const HCDelegate& onFailure);
    static void getSentChallengesForLocalUserAndLocalApplication(uint32_t pageIndex, const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure);
    // A nil application id means this game.
    static void getUsersWhoReceivedChallengeWithId(const Text& challengeId, const Text& clientApplicationId,
                                                   uint32_t pageIndex, const HCDelegate& onSuccess,
                                                   const HCDelegate& onFailure);
    static void getUsersToChallenge(const Text& challengerUserId, uint32_t pageIndex, const HCDelegate& onSuccess,
                                    const HCDelegate& onFailure);

    // A challenge announced by push while the game runs: the record is
    // fetched and shown in the "New Challenge!" banner; a failed fetch shows
    // "Error downloading challenge.", an empty reply nothing.
    static void getChallengeToUserAndShowNotification(const Text& challengeToUserId);
    // A challenge the game was launched for: the record is fetched (after
    // the next successful log-in when the client is offline) and the
    // dashboard opens on the "GameProfile" tab with "ChallengeList" and
    // "ChallengeDetail" pushed, followed by the id of the record's challenge
    // for the detail page. A failed fetch or log-in shows "Error downloading
    // challenge."; an empty reply opens nothing.
    static void getChallengeToUserAndShowDetailView(const Text& challengeToUserId);

    // The record as a reply document, replacing any file at the path; false
    // when it could not be written (an existing file is then left whole).
    static bool writeChallengeToUserToFile(const std::string& path, const HCChallengeToUser& record);
    // Nil for a missing file, one cut short, or one that holds no record.
    static std::shared_ptr<HCChallengeToUser> readChallengeToUserFromFile(const std::string& path);

    void populateKnownResources(HCResourceNameMap& map) override;

private:
    // A new HTTP service for a data download; the previous one's requests
    // are cancelled.
    HCHttpServicePtr createHttpService();

    HCHttpServicePtr mHttpService;
};
