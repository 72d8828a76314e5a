#include "scores/achievements/HCGameCenterAchievement.h"

#include <functional>
#include <utility>

#include "core/replies/HCPaginatedSeries.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/achievements/HCAchievementGameCenter.h"
#include "scores/achievements/HCAchievementService.h"

namespace {

// Ends the service part once: with the answer delivered, or, when the
// provider dropped or cancelled the request and released its callbacks
// unused, with failure. The delegate release rule lets it go on the main
// thread.
class ServicePartEnd final {
public:
    using End = std::function<void(const platform::ObjectPtr& result, bool ok)>;
    explicit ServicePartEnd(End end) : end_(std::move(end)) {}
    ServicePartEnd(const ServicePartEnd&) = delete;
    ServicePartEnd& operator=(const ServicePartEnd&) = delete;
    ~ServicePartEnd()
    {
        if (end_) end_(nullptr, false);
    }
    void operator()(const platform::ObjectPtr& result, bool ok)
    {
        if (auto end = std::exchange(end_, nullptr)) end(result, ok);
    }

private:
    End end_;
};

}  // namespace

HCGameCenterAchievement::HCGameCenterAchievement(std::string userId, std::vector<std::string> achievementIds,
                                                 std::vector<double> percentsComplete, bool batch, bool sync)
    : userId_(std::move(userId)),
      achievementIds_(std::move(achievementIds)),
      percentsComplete_(std::move(percentsComplete)),
      batch_(batch),
      sync_(sync)
{
}

HCRequestHandlePtr HCGameCenterAchievement::submitOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    successDelegate_ = onSuccess;
    failureDelegate_ = onFailure;
    halcyonStatus_ = kNotStarted;
    gameCenterStatus_ = kNotStarted;
    auto self = platform::self(this);

    // Every part is pending before the first one starts, so no early
    // answer can complete the submission.
    std::vector<std::pair<std::string, double>> reports;
    if (HCAchievementGameCenter::isLoggedIntoGameCenter()) {
        for (size_t i = 0; i < achievementIds_.size() && i < percentsComplete_.size(); ++i) {
            auto gameCenterId = HCAchievementGameCenter::gameCenterIdFor(achievementIds_[i]);
            if (gameCenterId && percentsComplete_[i] != 0.0) reports.emplace_back(*gameCenterId, percentsComplete_[i]);
        }
    }
    gameCenterCount_ = static_cast<unsigned>(reports.size());
    if (!reports.empty()) gameCenterStatus_ = kPending;
    const bool serviceStarts = std::strtoll(userId_.c_str(), nullptr, 10) > 0 && !achievementIds_.empty();
    if (serviceStarts) halcyonStatus_ = kPending;

    HCRequestHandlePtr handle;
    if (serviceStarts) {
        auto end = std::make_shared<ServicePartEnd>([self](const platform::ObjectPtr& result, bool ok) {
            self->onHalcyonPart(result, ok ? kSucceeded : kFailed);
        });
        handle = HCAchievementService::updateAchievements(
            achievementIds_, percentsComplete_,
            HCDelegate::withFunction([end](const platform::ObjectPtr& page) { (*end)(page, true); }, self),
            HCDelegate::withFunction([end](const platform::ObjectPtr& failure) { (*end)(failure, false); }, self));
    }
    for (const auto& [gameCenterId, percent] : reports) {
        HCAchievementGameCenter::reportOnMainThread(gameCenterId, percent,
                                                    [self](bool ok) { self->onGameCenterReport(ok); });
    }
    return handle;
}

void HCGameCenterAchievement::onHalcyonPart(const platform::ObjectPtr& result, Status outcome)
{
    HC_CHECK_MAIN_THREAD();
    if (halcyonStatus_ != kPending) {
        if (!completed_) platform::reportProgrammingError("Achievement state is invalid");
        return;
    }
    halcyonPage_ = result;
    halcyonStatus_ = outcome;
    testCompletion();
}

void HCGameCenterAchievement::onGameCenterReport(bool ok)
{
    HC_CHECK_MAIN_THREAD();
    if (completed_) return;
    if (gameCenterCount_ > 0) --gameCenterCount_;
    if (!ok) {
        gameCenterStatus_ = kFailed;
    } else if (gameCenterCount_ == 0 && gameCenterStatus_ == kPending) {
        gameCenterStatus_ = kSucceeded;
    }
    testCompletion();
}

void HCGameCenterAchievement::testCompletion()
{
    if (completed_ || halcyonStatus_ == kPending || gameCenterStatus_ == kPending) return;
    completed_ = true;
    // A failure hands over the request's loader, which holds this object's
    // callbacks: kept here it would keep the provider, the request and the
    // reply alive for good. Once done, nothing is kept.
    const platform::ObjectPtr result = std::exchange(halcyonPage_, nullptr);
    const HCDelegate onSuccess = std::exchange(successDelegate_, HCDelegate());
    const HCDelegate onFailure = std::exchange(failureDelegate_, HCDelegate());
    auto page = platform::as<HCPaginatedSeries>(result);
    if (halcyonStatus_ == kSucceeded) HCAchievementService::finishAchievementsPage(page, sync_, batch_);
    if (halcyonStatus_ == kFailed || gameCenterStatus_ == kFailed) {
        onFailure.invoke(result);
    } else {
        if (halcyonStatus_ == kSucceeded) HCAchievementService::syncOfflineAchievements(page, userId_, achievementIds_);
        onSuccess.invoke(result);
    }
}

void HCSubmitAchievementToGameCenterOnly::submitToGameCenterOnlyWithIds(const std::vector<std::string>& achievementIds,
                                                                        const std::vector<double>& percentsComplete,
                                                                        const HCDelegate& onSuccess,
                                                                        const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    if (achievementIds.size() != percentsComplete.size()) return;
    onSuccess_ = onSuccess;
    onFailure_ = onFailure;
    encounteredAnError_ = false;
    auto self = platform::self(this);
    for (size_t i = 0; i < achievementIds.size(); ++i) {
        auto gameCenterId = HCAchievementGameCenter::gameCenterIdFor(achievementIds[i]);
        if (!gameCenterId) {
            encounteredAnError_ = true;
            if (!sentFailure_) {
                sentFailure_ = true;
                onFailure_.invoke(nullptr);
            }
            continue;
        }
        ++achievementStillToRecieveCallbackCount_;
        HCAchievementGameCenter::reportOnMainThread(*gameCenterId, percentsComplete[i],
                                                    [self](bool ok) { self->onReport(ok); });
    }
}

void HCSubmitAchievementToGameCenterOnly::onReport(bool ok)
{
    HC_CHECK_MAIN_THREAD();
    if (achievementStillToRecieveCallbackCount_ > 0) --achievementStillToRecieveCallbackCount_;
    if (!ok) encounteredAnError_ = true;
    if (achievementStillToRecieveCallbackCount_ != 0) return;
    if (encounteredAnError_) {
        if (!sentFailure_) {
            sentFailure_ = true;
            onFailure_.invoke(nullptr);
        }
    } else {
        onSuccess_.invoke(nullptr);
    }
}
