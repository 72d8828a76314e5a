#include "gamepages/achievements/HCSelectAchievementToShareController.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "core/publicclass/HCBragDelegate.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "gamepages/HCSocialPostComposer.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "scores/achievements/HCAchievement.h"
#include "scores/achievements/HCAchievementService.h"
#include "uiframework/HCControllerLoader.h"

namespace {
constexpr const char* kImageType = "achievement_definitions";
constexpr const char* kDefaultImage = "HCUnlockedAchievementIcon.png";
}  // namespace

HCSelectAchievementToShareController::Counts HCSelectAchievementToShareController::countLocalAchievements()
{
    Counts counts;
    for (const auto& achievement : HCAchievement::achievements()) {
        ++counts.total;
        if (achievement->percentComplete() == 100.0) ++counts.unlocked;
    }
    return counts;
}

std::string HCSelectAchievementToShareController::bragText(const Counts& counts, const std::string& gameName)
{
    return "I unlocked " + std::to_string(counts.unlocked) + " out of " + std::to_string(counts.total) +
           " achievements in " + gameName + ".";
}

std::string HCSelectAchievementToShareController::bragText(const HCAchievement& achievement,
                                                           const std::string& gameName)
{
    return "I unlocked the achievement " + achievement.title().value_or("") + " in " + gameName + ".";
}

HCSelectAchievementToShareController::HCSelectAchievementToShareController()
{
    setTitle("Share");
}

void HCSelectAchievementToShareController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCAchievement>("AchievementProgressionList");
}

std::optional<std::string> HCSelectAchievementToShareController::getLeadingCellControllerNameForSection(int)
{
    return std::string("SelectAchievementToShareLeading");
}

void HCSelectAchievementToShareController::configureCell(const platform::ui::TableViewCellPtr& cell, bool asLeading,
                                                         bool asTrailing, bool asOdd)
{
    HCTableSequenceControllerHelper::configureCell(cell, asLeading, asTrailing, asOdd);
    // Every row here is picked: the achievement rows show their disclosure sign.
    if (!cell->isUserInteractionEnabled()) {
        cell->setUserInteractionEnabled(true);
        cell->setNeedsLayout();
    }
}

void HCSelectAchievementToShareController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate&)
{
    HC_CHECK_MAIN_THREAD();
    HCPaginatedSeries::Objects unlocked;
    totalAchievementCount_ = 0;
    for (const auto& achievement : HCAchievement::achievements()) {
        ++totalAchievementCount_;
        if (achievement->percentComplete() == 100.0) unlocked.push_back(achievement);
    }
    unlockedAchievementCount_ = static_cast<int>(unlocked.size());
    onSuccess.invoke(HCPaginatedSeries::paginatedSeriesFromArray(unlocked));
}

std::string HCSelectAchievementToShareController::getNoDataFoundMessage()
{
    return "You should not have arrived here with no achievements unlocked.";
}

void HCSelectAchievementToShareController::onLeadingCellWasClickedForSection(int)
{
    HC_CHECK_MAIN_THREAD();
    const Counts counts{totalAchievementCount_, unlockedAchievementCount_};
    std::optional<std::string> text;
    std::optional<std::string> originalMessage;
    if (auto* brag = Halcyon::getBragDelegate()) {
        platform::callOptional(
            [&] { brag->bragAboutAllAchievements(counts.total, counts.unlocked, &text, &originalMessage); });
    }
    if (!text) text = bragText(counts, Halcyon::applicationDisplayName());
    pushComposer(text, originalMessage, "game_icon", std::nullopt, Halcyon::localGameProfileInfo()->iconUrl());
}

void HCSelectAchievementToShareController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto achievement = platform::as<HCAchievement>(resource);
    if (!achievement) return;
    std::optional<std::string> text;
    std::optional<std::string> originalMessage;
    if (auto* brag = Halcyon::getBragDelegate()) {
        platform::callOptional([&] { brag->bragAboutAchievement(achievement, &text, &originalMessage); });
    }
    if (!text) text = bragText(*achievement, Halcyon::applicationDisplayName());
    auto service = HCAchievementService::sharedInstance();
    pushComposer(text, originalMessage, achievement->resourceId().value_or(""),
                 service ? service->mCustomUrlWithSocialNotification() : std::nullopt, achievement->iconUrl());
}

void HCSelectAchievementToShareController::pushComposer(const std::optional<std::string>& text,
                                                        const std::optional<std::string>& originalMessage,
                                                        const std::string& imageId,
                                                        const std::optional<std::string>& linkedUrl,
                                                        const std::optional<std::string>& imageUrl)
{
    auto composer = HCControllerLoader::load(HCSocialPostComposer::kLoaderName);
    auto* post = dynamic_cast<HCSocialPostComposer*>(composer.get());
    auto navigation = navigationController();
    if (!post || !navigation) return;
    post->setPrepopulatedText(text, originalMessage);
    post->setImageType(kImageType, imageId, linkedUrl);
    post->setImageUrl(imageUrl, HCImageLoader::loadImage(kDefaultImage));
    navigation->pushViewController(composer, true);
}
