#include "scores/highscores/HCPendingScoreResend.h"

#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/highscores/HCLocalHighScoreStore.h"
#include "scores/offline/HCIntegerText.h"

HCPendingScoreResend::HCPendingScoreResend(std::shared_ptr<HCHighScoreService> service, std::string userId,
                                           HCDelegate onSuccess, HCDelegate onFailure)
    : service_(service), userId_(std::move(userId)), onSuccess_(std::move(onSuccess)),
      onFailure_(std::move(onFailure))
{
}

std::shared_ptr<HCRequestHandle> HCPendingScoreResend::start()
{
    HC_CHECK_MAIN_THREAD();
    auto service = service_.lock();
    if (!service || service->resendingFor_.contains(userId_)) {
        return nullptr;
    }
    service->resendingFor_.insert(userId_);
    if (!postNextSlice()) {
        service->resendingFor_.erase(userId_);
        return nullptr;
    }
    return firstHandle_;
}

bool HCPendingScoreResend::postNextSlice()
{
    auto service = service_.lock();
    auto* store = HCHighScoreService::storeForCurrentThread();
    if (!service || store == nullptr) {
        return false;
    }
    HCHighScoreBatch slice;
    std::size_t textBytes = 0;
    while (slice.empty()) {
        const auto rows = store->pendingRows(userId_, afterRowId_, static_cast<int>(kMaxScores));
        if (rows.empty()) {
            return false;
        }
        for (const auto& row : rows) {
            const std::size_t texts = (row.displayText ? row.displayText->size() : 0) +
                                      (row.customData ? row.customData->size() : 0);
            // A slice always takes its first row, however long its texts.
            if (!slice.empty() && (slice.size() == kMaxScores || textBytes + texts > kMaxTextBytes)) {
                break;
            }
            afterRowId_ = HCIntegerFromText(row.rowId).value_or(afterRowId_);
            // A score that a running batch carries is confirmed by that one.
            if (service->isInFlight(userId_, row.leaderboardId, row.score)) {
                continue;
            }
            slice.push_back(std::make_shared<HCHighScoreBatchEntry>(row.leaderboardId, row.score, row.displayText,
                                                                    row.customData, row.blob));
            textBytes += texts;
        }
    }
    auto self = platform::self(this);
    auto handle = HCHighScoreService::batchSetForUser(
        &slice, userId_, true,
        HCDelegate::withFunction([self](const platform::ObjectPtr& reply) { self->sliceSucceeded(reply); }),
        HCDelegate::withFunction([self](const platform::ObjectPtr& failure) { self->sliceFailed(failure); }),
        std::nullopt, true);
    if (!firstHandle_) {
        firstHandle_ = handle;
    }
    return true;
}

void HCPendingScoreResend::sliceSucceeded(const platform::ObjectPtr& reply)
{
    HC_CHECK_MAIN_THREAD();
    if (!postNextSlice()) {
        finish();
        onSuccess_.invoke(reply);
    }
}

void HCPendingScoreResend::sliceFailed(const platform::ObjectPtr& failure)
{
    HC_CHECK_MAIN_THREAD();
    finish();
    onFailure_.invoke(failure);
}

void HCPendingScoreResend::finish()
{
    if (auto service = service_.lock()) {
        service->resendingFor_.erase(userId_);
    }
}
