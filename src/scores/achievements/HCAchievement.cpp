#include "scores/achievements/HCAchievement.h"

#include "core/halcyon/Halcyon.h"
#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/sql/HCSqlQuery.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/TextConversions.h"
#include "scores/achievements/HCAchievementDelegate.h"
#include "scores/achievements/HCAchievementGameCenter.h"
#include "scores/achievements/HCAchievementService.h"
#include "scores/achievements/HCGameCenterAchievement.h"

namespace {

HCClassDelegate<HCAchievementDelegate> sDelegate(HCAchievement::kModule);

}  // namespace

// ===== Class operations ==========================================================

std::shared_ptr<HCAchievement> HCAchievement::achievement(const std::string& achievementId)
{
    if (auto local = HCAchievementService::getAchievementLocalWithUnlockInfo(achievementId)) return local;
    return HCResource::initWithId<HCAchievement>(achievementId);
}

std::vector<std::shared_ptr<HCAchievement>> HCAchievement::achievements()
{
    return HCAchievementService::getAchievementsLocal();
}

void HCAchievement::setDelegate(HCAchievementDelegate* delegate)
{
    sDelegate.set(delegate);
}

HCAchievementDelegate* HCAchievement::delegate()
{
    return sDelegate.get();
}

HCRequestHandlePtr HCAchievement::submitDeferredAchievements()
{
    auto callbacks = sDelegate.callbacks(
        nullptr,
        [](auto started, const platform::ObjectPtr&) {
            sDelegate.notify(started, [](HCAchievementDelegate& d) { d.didSubmitDeferredAchievements(); });
        },
        [](auto started) {
            sDelegate.notify(started, [](HCAchievementDelegate& d) { d.didFailSubmittingDeferredAchievements(); });
        });
    return sDelegate.track(HCAchievementService::submitQueuedUpdateAchievements(callbacks.success, callbacks.failure));
}

void HCAchievement::forceSyncGameCenterAchievements()
{
    auto callbacks = sDelegate.callbacks(
        nullptr,
        [](auto started, const platform::ObjectPtr&) {
            sDelegate.notify(started, [](HCAchievementDelegate& d) { d.didForceSyncGameCenterAchievements(); });
        },
        [](auto started) {
            sDelegate.notify(started, [](HCAchievementDelegate& d) { d.didFailForceSyncGameCenterAchievements(); });
        });
    if (!HCAchievementGameCenter::isLoggedIntoGameCenter()) {
        callbacks.failure.invoke(nullptr);
        return;
    }
    std::vector<std::string> ids;
    std::vector<double> percents;
    for (const auto& achievement : achievements()) {
        if (achievement->percentComplete() > 0.0 && achievement->resourceId()) {
            ids.push_back(*achievement->resourceId());
            percents.push_back(achievement->percentComplete());
        }
    }
    if (ids.empty()) {
        callbacks.success.invoke(nullptr);
    } else {
        std::make_shared<HCSubmitAchievementToGameCenterOnly>()->submitToGameCenterOnlyWithIds(
            ids, percents, callbacks.success, callbacks.failure);
    }
    Halcyon::setSynchWithGameCenterAchievements(true);
}

void HCAchievement::setCustomUrlForSocialNotificaion(const Text& url)
{
    if (auto service = HCAchievementService::sharedInstance()) service->setMCustomUrlWithSocialNotification(url);
}

// ===== Instance operations =========================================================

HCRequestHandlePtr HCAchievement::updateProgressionComplete(double percentComplete, bool showNotification)
{
    auto self = platform::self(this);
    auto callbacks = sDelegate.callbacks(
        self,
        [self](auto started, const platform::ObjectPtr&) {
            sDelegate.notify(started, [&](HCAchievementDelegate& d) { d.didUpdateProgressionCompleteHCAchievement(self); });
        },
        [self](auto started) {
            sDelegate.notify(started,
                             [&](HCAchievementDelegate& d) { d.didFailUpdateProgressionCompleteHCAchievement(self); });
        });
    return sDelegate.track(HCAchievementService::updateAchievement(resourceId().value_or(""), percentComplete,
                                                                   showNotification, callbacks.success,
                                                                   callbacks.failure));
}

void HCAchievement::deferUpdateProgressionComplete(double percentComplete, bool showNotification)
{
    HCAchievementService::queueUpdateAchievement(resourceId().value_or(""), percentComplete, showNotification);
}

HCRequestHandlePtr HCAchievement::getIcon()
{
    auto self = platform::self(this);
    // The callbacks hold the achievement weakly (see HCPublicImageStep).
    std::weak_ptr<HCAchievement> weak = self;
    return HCPublicImageStep<HCAchievementDelegate>(
        sDelegate, self, iconDownload_, iconUrl_,
        [weak](HCAchievementDelegate& d, const platform::ui::ImagePtr& image) {
            if (auto achievement = weak.lock()) d.didGetIcon(image, achievement);
        },
        [weak](HCAchievementDelegate& d) {
            if (auto achievement = weak.lock()) d.didFailGetIconHCAchievement(achievement);
        });
}

// ===== Local rows and the data map ==================================================

std::shared_ptr<HCAchievement> HCAchievement::initWithLocalSQL(const HCSqlQuery& row)
{
    auto achievement = std::make_shared<HCAchievement>();
    achievement->title_ = row.getTextValue("title");
    achievement->description_ = row.getTextValue("description");
    achievement->startVersion_ = row.getTextValue("start_version");
    achievement->endVersion_ = row.getTextValue("end_version");
    achievement->gamerscore_ = static_cast<uint32_t>(row.getInt64("gamerscore"));
    achievement->position_ = static_cast<uint32_t>(row.getInt64("position"));
    achievement->isSecret_ = row.getBool("is_secret");
    achievement->iconUrl_ = row.getTextValue("icon_file_name");
    achievement->setResourceId(row.getTextValue("id"));
    const long long unlocked = row.getInt64("unlocked_date");
    if (unlocked > 0) achievement->unlockDate_ = platform::Date::dateWithTimeIntervalSince1970(static_cast<double>(unlocked));
    if (achievement->resourceId()) {
        achievement->percentComplete_ =
            HCAchievementService::getPercentComplete(*achievement->resourceId(),
                                                   HCAchievementService::lastLoggedInUserId());
    }
    return achievement;
}

std::shared_ptr<HCService> HCAchievement::getService() const
{
    return HCAchievementService::sharedInstance();
}

const HCResourceDataMap& HCAchievement::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("title", &HCAchievement::setTitle);
        m->addField("description", &HCAchievement::setDescription);
        m->addField("gamerscore", &HCAchievement::setGamerscoreFromString);
        m->addField("icon_url", &HCAchievement::setIconUrl);
        m->addField("is_secret", &HCAchievement::setIsSecretFromString);
        m->addField("percent_complete", &HCAchievement::setPercentCompleteFromString);
        m->addField("is_unlocked_by_compared_to_user", &HCAchievement::setIsUnlockedByComparedToUserFromString);
        m->addField("compared_to_user_id", &HCAchievement::setComparedToUserId);
        m->addField("unlock_date", &HCAchievement::setUnlockDateFromString);
        m->addField("position", &HCAchievement::setPositionFromString);
        m->addField("end_version", &HCAchievement::setEndVersion);
        m->addField("start_version", &HCAchievement::setStartVersion);
        return m;
    }();
    return *map;
}

void HCAchievement::setGamerscoreFromString(const std::string& text)
{
    gamerscore_ = static_cast<uint32_t>(platform::intValue(text));
}

void HCAchievement::setIsSecretFromString(const std::string& text)
{
    isSecret_ = platform::boolValue(text);
}

void HCAchievement::setPercentCompleteFromString(const std::string& text)
{
    percentComplete_ = platform::doubleValue(text);
}

void HCAchievement::setIsUnlockedByComparedToUserFromString(const std::string& text)
{
    isUnlockedByComparedToUser_ = platform::boolValue(text);
}

void HCAchievement::setUnlockDateFromString(const Text& text)
{
    unlockDate_ = nullptr;
    if (!text) return;
    static const platform::DateFormatter formatter("yyy-MM-dd HH:mm:ss zzz");
    unlockDate_ = formatter.dateFromString(text->size() == 19 ? *text + " GMT" : *text);
}

void HCAchievement::setPositionFromString(const std::string& text)
{
    position_ = static_cast<uint32_t>(platform::intValue(text));
}
