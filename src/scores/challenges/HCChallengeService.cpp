#include "scores/challenges/HCChallengeService.h"

#include "core/banners/HCNotification.h"
#include "core/banners/HCNotificationData.h"
#include "core/clientstate/HCClientState.h"
#include "core/halcyon/Halcyon.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "core/storage/HCCompressableData.h"
#include "core/users/HCUser.h"
#include "kernel/http/HCBlobDownloadObserver.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/OptionalText.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "transport/provider/HCActionRequest.h"
#include "transport/provider/HCProvider.h"

namespace {

std::shared_ptr<HCChallengeService> sChallengeService;
HCChallengeScreens& screens()
{
    static HCChallengeScreens installed;
    return installed;
}

using Text = HCChallengeService::Text;

std::shared_ptr<HCChallengeService> running()
{
    HC_CHECK_MAIN_THREAD();
    return sChallengeService;
}

void listRecords(const char* action, const HCHttpNestedQueryStringWriter& parameters, int requestType,
                 const char* noticeText, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    if (auto service = running()) {
        service->getAction(action, &parameters, onSuccess, onFailure, requestType,
                           noticeText ? HCNotificationData::foreGroundDataWithText(noticeText) : nullptr);
    }
}

// "challenges_users/%@/update.xml" with the scope's fields.
HCRequestHandlePtr updateRecord(const Text& challengeToUserId, const HCHttpNestedQueryStringWriter& parameters,
                                const char* noticeText, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("challenges_users/%@/update.xml", {challengeToUserId});
    auto service = HCServicePath::serviceFor<HCChallengeService>(path, onFailure);
    if (!service) return nullptr;
    return service->postAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kBannerAlternate,
                               HCNotificationData::foreGroundDataWithText(noticeText));
}

// The first record of a reply page; nil for an empty page or another kind.
std::shared_ptr<HCChallengeToUser> firstRecord(const platform::ObjectPtr& reply)
{
    auto page = platform::as<HCPaginatedSeries>(reply);
    if (!page || page->count() == 0) return nullptr;
    return platform::as<HCChallengeToUser>(page->objects().front());
}

void showFetchFailed()
{
    HCNotification::sharedInstance()->showBackgroundNotice(
        HCNotificationData::dataWithText("Error downloading challenge.", HCNotificationCategoryChallenge, 3),
        std::string(HCNotificationStatusFailure));
}

}  // namespace

void HCChallengeService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sChallengeService) sChallengeService = HCService::create<HCChallengeService>();
}

void HCChallengeService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    if (sChallengeService && sChallengeService->mHttpService) sChallengeService->mHttpService->cancelAllRequests();
    sChallengeService = nullptr;
}

std::shared_ptr<HCChallengeService> HCChallengeService::sharedInstance()
{
    return sChallengeService;
}

void HCChallengeService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCChallenge>(map);
    HCAddKnownResource<HCChallengeToUser>(map);
    HCAddKnownResource<HCUser>(map);
}

HCRequestHandlePtr HCChallengeService::getChallengeToUserWithId(const Text& challengeToUserId,
                                                               const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure)
{
    auto path = HCServicePath::format("challenges_users/%@.xml", {challengeToUserId});
    auto service = HCServicePath::serviceFor<HCChallengeService>(path, onFailure);
    if (!service) return nullptr;
    return service->getAction(*path, nullptr, onSuccess, onFailure, HCActionRequest::kSilent, nullptr);
}

HCRequestHandlePtr HCChallengeService::sendChallenge(const Text& challengeDefinitionId, const Text& challengeText,
                                                     const DataPtr& challengeData, const Text& userMessage,
                                                     const Text& hiddenText, const std::vector<std::string>& userIds,
                                                     const Text& inResponseToChallenge, const HCDelegate& onSuccess,
                                                     const HCDelegate& onFailure)
{
    auto service = running();
    if (!service) return nullptr;
    if (!platform::hasText(challengeDefinitionId)) return HCServicePath::refuse(onFailure);
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("challenge_hidden_text", hiddenText);
    parameters.io("challenger_id", "me");
    parameters.io("challenge_description", challengeText);
    parameters.io("challenge_definition_id", challengeDefinitionId);
    parameters.io("challenge_response_to_challenge_id", inResponseToChallenge);
    parameters.io("challenge_user_message", userMessage);
    if (auto stored = HCCompressableData::serializedDataFromData(challengeData)) {
        parameters.ioBlob("challenge_user_data", stored->bytes(), "blob");
    }
    {
        HCISerializer::Scope series(&parameters, "challenge_user_ids", true);
        for (const auto& userId : userIds) parameters.io("user_ids", userId);
    }
    return service->postAction("challenges.xml", &parameters, onSuccess, onFailure, HCActionRequest::kBanner,
                               HCNotificationData::dataWithText("Challenge Sent", HCNotificationCategoryChallenge, 1));
}

HCRequestHandlePtr HCChallengeService::submitChallengeResult(const Text& challengeToUserId, int result,
                                                             const Text& resultDescription,
                                                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    {
        HCISerializer::Scope scope(&parameters, "challenges_user");
        parameters.io("result_text", resultDescription);
        const std::string code = HCChallengeToUser::resultAsString(result);
        if (!code.empty()) parameters.io("result", code);
    }
    return updateRecord(challengeToUserId, parameters, "Submitted Challenge", onSuccess, onFailure);
}

HCRequestHandlePtr HCChallengeService::rejectChallenge(const Text& challengeToUserId, const HCDelegate& onSuccess,
                                                       const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    {
        HCISerializer::Scope scope(&parameters, "challenges_user");
        parameters.io("ignored", true);
    }
    return updateRecord(challengeToUserId, parameters, "Rejected Challenge", onSuccess, onFailure);
}

HCHttpServicePtr HCChallengeService::createHttpService()
{
    if (mHttpService) mHttpService->cancelAllRequests();
    mHttpService = HCProvider::createHttpService();
    return mHttpService;
}

HCRequestHandlePtr HCChallengeService::downloadChallengeData(const Text& url, const HCDelegate& onSuccess,
                                                             const HCDelegate& onFailure)
{
    auto service = running();
    if (!service || !platform::hasText(url)) return nullptr;
    auto http = service->createHttpService();
    if (!http) return nullptr;
    auto observer = std::make_shared<HCBlobDownloadObserver>(onSuccess, onFailure, false);
    return HCRequestHandle::requestHandle(http->startRequest(*url, "GET", nullptr, observer));
}

void HCChallengeService::getChallengeHistoryForType(const Text& challengeDefinitionId,
                                                    const Text& clientApplicationId, int pageIndex,
                                                    const Text& comparedToUserId, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("history", true);
    parameters.io("page", pageIndex);
    parameters.io("challenge_definition_id", challengeDefinitionId);
    parameters.io("client_application_id", clientApplicationId);
    if (platform::hasText(comparedToUserId)) parameters.io("compared_user_id", comparedToUserId);
    listRecords("challenges_users.xml", parameters, HCActionRequest::kBannerAlternate,
                "Downloading Challenge Information", onSuccess, onFailure);
}

void HCChallengeService::getChallengeHistoryForType(const Text& challengeDefinitionId,
                                                    const Text& clientApplicationId, int pageIndex,
                                                    const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    getChallengeHistoryForType(challengeDefinitionId, clientApplicationId, pageIndex, std::nullopt, onSuccess,
                               onFailure);
}

void HCChallengeService::getChallengeHistoryAcrossAllTypes(uint32_t pageIndex, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("history", true);
    parameters.io("page", pageIndex);
    listRecords("challenges_users.xml", parameters, HCActionRequest::kBannerAlternate,
                "Downloading Challenge Information", onSuccess, onFailure);
}

void HCChallengeService::getPendingChallengesForLocalUserAndApplication(const Text& clientApplicationId,
                                                                        uint32_t pageIndex,
                                                                        const Text& comparedToUserId,
                                                                        const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("incomplete", true);
    parameters.io("page", pageIndex);
    parameters.io("mark_as_viewed", true);
    if (platform::hasText(clientApplicationId)) parameters.io("client_application_id", clientApplicationId);
    if (platform::hasText(comparedToUserId)) parameters.io("compared_user_id", comparedToUserId);
    listRecords("challenges_users.xml", parameters, HCActionRequest::kBannerAlternate,
                "Downloaded Challenge Information", onSuccess, onFailure);
}

void HCChallengeService::getPendingChallengesForLocalUserAndApplication(const Text& clientApplicationId,
                                                                        uint32_t pageIndex,
                                                                        const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure)
{
    getPendingChallengesForLocalUserAndApplication(clientApplicationId, pageIndex, std::nullopt, onSuccess,
                                                   onFailure);
}

void HCChallengeService::getPendingChallengesForLocalUserAndLocalApplication(uint32_t pageIndex,
                                                                             const HCDelegate& onSuccess,
                                                                             const HCDelegate& onFailure)
{
    getPendingChallengesForLocalUserAndApplication(std::nullopt, pageIndex, std::nullopt, onSuccess, onFailure);
}

void HCChallengeService::getCompletedChallengesForLocalUserAndLocalApplication(uint32_t pageIndex,
                                                                               const HCDelegate& onSuccess,
                                                                               const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("complete", true);
    parameters.io("page", pageIndex);
    listRecords("challenges_users.xml", parameters, HCActionRequest::kBannerAlternate,
                "Downloaded Challenge Information", onSuccess, onFailure);
}

void HCChallengeService::getSentChallengesForLocalUserAndLocalApplication(uint32_t pageIndex,
                                                                          const HCDelegate& onSuccess,
                                                                          const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", pageIndex);
    listRecords("challenges.xml", parameters, HCActionRequest::kBannerAlternate, "Downloaded Challenge Information",
                onSuccess, onFailure);
}

void HCChallengeService::getUsersWhoReceivedChallengeWithId(const Text& challengeId, const Text& clientApplicationId,
                                                            uint32_t pageIndex, const HCDelegate& onSuccess,
                                                            const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("challenge_id", challengeId);
    parameters.io("client_application_id",
                  clientApplicationId ? clientApplicationId : HCClientState::clientApplicationId());
    parameters.io("page", pageIndex);
    listRecords("challenges_users.xml", parameters, HCActionRequest::kSilent, nullptr, onSuccess, onFailure);
}

void HCChallengeService::getUsersToChallenge(const Text& challengerUserId, uint32_t pageIndex,
                                             const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", pageIndex);
    parameters.io("user_id", "me");
    parameters.io("scope", "people-of-interest");
    parameters.io("with_client_application", HCClientState::clientApplicationId());
    parameters.io("not_sectioned", "yes");
    parameters.io("challenger_user_id", challengerUserId);
    listRecords("users.xml", parameters, HCActionRequest::kBannerAlternate, "Downloaded Friends", onSuccess, onFailure);
}

void HCChallengeService::getChallengeToUserAndShowNotification(const Text& challengeToUserId)
{
    auto shown = HCDelegate::withFunction([](const platform::ObjectPtr& reply) {
        auto record = firstRecord(reply);
        if (!record) return;
        HCChallengeNoticeInfo info;
        if (auto challenge = record->challenge()) {
            info.challenger = challenge->challenger();
            if (auto definition = challenge->challengeDefinition()) info.definitionIconUrl = definition->iconUrl();
        }
        info.subject = record;
        HCNotification::sharedInstance()->showChallengeNotice(info);
    });
    auto failed = HCDelegate::withFunction([](const platform::ObjectPtr&) { showFetchFailed(); });
    getChallengeToUserWithId(challengeToUserId, shown, failed);
}

void HCChallengeService::getChallengeToUserAndShowDetailView(const Text& challengeToUserId)
{
    HC_CHECK_MAIN_THREAD();
    auto failed = HCDelegate::withFunction([](const platform::ObjectPtr&) { showFetchFailed(); });
    if (!Halcyon::isOnline()) {
        auto retry = HCDelegate::withFunction(
            [challengeToUserId](const platform::ObjectPtr&) { getChallengeToUserAndShowDetailView(challengeToUserId); });
        Halcyon::addBootstrapDelegates(retry, failed);
        return;
    }
    auto shown = HCDelegate::withFunction([](const platform::ObjectPtr& reply) {
        auto record = firstRecord(reply);
        if (!record) return;
        const auto challengeId = record->challenge() ? record->challenge()->resourceId() : std::nullopt;
        std::vector<platform::ObjectPtr> controllers{platform::String::make("ChallengeList"),
                                                     platform::String::make("ChallengeDetail")};
        if (challengeId) controllers.push_back(platform::String::make(*challengeId));
        Halcyon::launchDashboardWithDelegate(nullptr, std::string("GameProfile"), controllers);
    });
    getChallengeToUserWithId(challengeToUserId, shown, failed);
}

bool HCChallengeService::writeChallengeToUserToFile(const std::string& path, const HCChallengeToUser& record)
{
    return platform::FileFacts::writeFileAtomically(path, record.toResourceArrayXml());
}

std::shared_ptr<HCChallengeToUser> HCChallengeService::readChallengeToUserFromFile(const std::string& path)
{
    auto service = sChallengeService;
    auto bytes = platform::FileFacts::readFile(path);
    if (!service || !bytes) return nullptr;
    // A file cut short (a crash mid-write of an older copy) holds no record.
    auto document = HCXmlDocument::xmlDocumentWithData(*bytes);
    if (!document || !document->isWhole()) return nullptr;
    auto page = HCResource::resourcesFromXml(*document, service->getKnownResources().get());
    return firstRecord(page);
}

// --- screens ------------------------------------------------------------------------

void HCChallengeService::setScreens(HCChallengeScreens installed)
{
    HC_CHECK_MAIN_THREAD();
    screens() = std::move(installed);
}

void HCChallengeService::displaySendChallengeModal(const Text& challengeDefinitionId, const Text& challengeText,
                                                   const DataPtr& challengeData)
{
    HC_CHECK_MAIN_THREAD();
    if (screens().showSend) screens().showSend(challengeDefinitionId, challengeText, challengeData);
}

void HCChallengeService::displayChallengeCompletedModal(const std::shared_ptr<HCChallengeToUser>& record,
                                                        const DataPtr& resultData, const Text& resultDescription,
                                                        const Text& reChallengeDescription)
{
    HC_CHECK_MAIN_THREAD();
    auto challenge = record ? record->challenge() : nullptr;
    if (!challenge) return;
    auto definition = challenge->challengeDefinition();
    const bool multiAttempt = definition && definition->multiAttempt();
    record->setIsCompleted(!multiAttempt || record->result() == HCChallengeToUser::kWin);
    record->setResultDescription(resultDescription);
    if (screens().showResult) screens().showResult(record, resultData, reChallengeDescription);
}
