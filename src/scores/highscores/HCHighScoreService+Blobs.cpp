#include "core/services/HCServicePath.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/storage/HCS3Response.h"
#include "core/storage/HCS3UploadParameters.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreService.h"
#include "transport/provider/HCActionRequest.h"

void HCHighScoreService::uploadBlob(const std::shared_ptr<platform::Data>& blob,
                                    const std::shared_ptr<HCHighScore>& score, const std::string& owner)
{
    HC_CHECK_MAIN_THREAD();
    auto service = sharedInstance();
    if (!service || !blob || !score || !score->blobUploadParameters()) {
        return;
    }
    score->_setBlob(blob);
    auto uploaded = HCDelegate::withFunction(
        [owner](const platform::ObjectPtr& outcome) {
            auto response = platform::as<HCS3Response>(outcome);
            if (auto stored = response ? platform::as<HCHighScore>(response->userParam()) : nullptr) {
                writeBackScore(*stored, owner, stored->blob());
            }
        },
        service);
    // A failed upload changes nothing: the row stays pending and the re-send
    // after the next log-in takes score and blob again.
    HCCloudStorageService::uploadS3Blob(blob, score->blobUploadParameters(), score, uploaded, HCDelegate());
}

std::shared_ptr<HCRequestHandle> HCHighScoreService::downloadBlobForHighScore(const std::shared_ptr<HCHighScore>& score,
                                                                              const HCDelegate& onSuccess,
                                                                              const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (!score || !score->hasBlob()) {
        onFailure.invoke();
        return nullptr;
    }
    if (score->blob()) {
        onSuccess.invoke(score);
        return nullptr;
    }
    auto service = sharedInstance();
    auto downloaded = HCDelegate::withFunction(
        [onSuccess](const platform::ObjectPtr& outcome) {
            auto response = platform::as<HCS3Response>(outcome);
            auto stored = response ? platform::as<HCHighScore>(response->userParam()) : nullptr;
            if (stored) {
                stored->_setBlob(response->data());
            }
            onSuccess.invoke(stored);
        },
        service);
    auto failed = HCDelegate::withFunction(
        [onFailure](const platform::ObjectPtr& outcome) {
            auto response = platform::as<HCS3Response>(outcome);
            if (response && response->statusCode() == 404) {
                reportMissingBlobForHighScore(platform::as<HCHighScore>(response->userParam()));
            }
            onFailure.invoke();
        },
        service);
    return HCCloudStorageService::downloadS3Blob(*score->blobUrl(), score, downloaded, failed);
}

void HCHighScoreService::reportMissingBlobForHighScore(const std::shared_ptr<HCHighScore>& score)
{
    HC_CHECK_MAIN_THREAD();
    // A score without an id names no score on the service: nothing to report.
    const auto path = HCServicePath::format("high_scores/%@/invalidate_blob.xml", {score ? score->resourceId() : std::nullopt});
    auto service = HCServicePath::serviceFor<HCHighScoreService>(path, HCDelegate());
    if (!service) {
        return;
    }
    service->postAction(*path, nullptr, HCDelegate(), HCDelegate(), HCActionRequest::kSilent, nullptr);
}
