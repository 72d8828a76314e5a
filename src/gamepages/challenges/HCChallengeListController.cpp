#include "gamepages/challenges/HCChallengeListController.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "gamepages/challenges/HCChallengeDetailController.h"
#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/NavigationController.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeDefinitionService.h"
#include "scores/challenges/HCChallengeDefinitionStats.h"
#include "scores/challenges/HCChallengeService.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCTabbedPageHeaderController.h"
#include "uiframework/table/HCSectionHeaderView.h"

void HCChallengeListController::registerSectionHeaderView()
{
    constexpr double kHeight = 26;
    const std::string nibName = std::string(kSectionHeaderViewName) + "Hc";
    platform::ui::NibRegistry::registerNib(nibName, [](const platform::ObjectPtr&) {
        using platform::ui::Rect;
        auto header = platform::ui::View::make(Rect(0, 0, 320, kHeight));
        header->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
        auto strip = platform::ui::ImageView::withImage(HCImageLoader::loadImage(kSectionHeaderImageName));
        strip->setFrame(header->bounds());
        strip->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
        auto title = platform::ui::Label::make(Rect(10, 0, 300, kHeight));
        title->setTag(HCSectionHeaderView::kTitleTag);
        title->setTextColor(platform::ui::Color::whiteColor());
        title->setBackgroundColor(platform::ui::Color::clearColor());
        title->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth);
        header->addSubview(strip);
        header->addSubview(title);
        return std::vector<platform::ObjectPtr>{header};
    });
}

std::shared_ptr<HCService> HCChallengeListController::getService()
{
    return HCChallengeService::sharedInstance();
}

std::optional<std::string> HCChallengeListController::getTableHeaderControllerName()
{
    if (listType_ == kHistoryOfType) return std::nullopt;
    return std::string("TabbedPageHeader");
}

void HCChallengeListController::onTableHeaderCreated(const platform::ObjectPtr& headerObject)
{
    HC_CHECK_MAIN_THREAD();
    auto header = platform::as<HCTabbedPageHeaderController>(headerObject);
    if (!header) return;
    // The first tab is picked as it is added; the first load is the base's,
    // and a second one would find the pending challenges already marked viewed.
    header->setCallbackTarget(nullptr);
    header->addTab("Pending", &HCChallengeListController::onPendingSelected);
    header->setCallbackTarget(platform::self(this));
    header->addTab("History", &HCChallengeListController::onHistorySelected);
}

void HCChallengeListController::onPendingSelected()
{
    HC_CHECK_MAIN_THREAD();
    switchToList(kPending);
    reloadDataFromServer();
}

void HCChallengeListController::onHistorySelected()
{
    HC_CHECK_MAIN_THREAD();
    switchToList(kTypes);
    reloadDataFromServer();
}

void HCChallengeListController::switchToList(ListType type)
{
    const bool changed = listType_ != type;
    listType_ = type;
    // The other tab's rows must not stand under this one while it loads, nor
    // after its load fails: the player would read challenge types as pending.
    if (changed) clearRows();
}

platform::ui::ViewPtr HCChallengeListController::createPlainTableSectionHeader(int section)
{
    if (listType_ != kTypes) return HCTableSequenceControllerHelper::createPlainTableSectionHeader(section);
    if (auto view = HCSectionHeaderView::loadForSection(kSectionHeaderViewName, *this, section)) return view;
    return HCTableSequenceControllerHelper::createPlainTableSectionHeader(section);
}

void HCChallengeListController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCChallengeToUser>("ChallengeToUser");
    map.addResourceClass<HCChallenge>("ChallengeSent");
    map.addResourceClass<HCChallengeDefinitionStats>("ChallengeDefinitionStats");
}

void HCChallengeListController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                      const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto compared = getPageComparisonUser();
    const auto comparedId = compared ? compared->resourceId() : std::nullopt;
    const auto pageIndex = static_cast<uint32_t>(page);
    switch (listType_) {
    case kPending:
        HCChallengeService::getPendingChallengesForLocalUserAndApplication(clientApplicationId_, pageIndex, comparedId,
                                                                           onSuccess, onFailure);
        break;
    case kHistoryOfType:
        HCChallengeService::getChallengeHistoryForType(historyTypeId(), clientApplicationId_, page, comparedId,
                                                       onSuccess, onFailure);
        break;
    case kTypes:
        HCChallengeDefinitionService::getChallengeDefinitionStatsForLocalUser(pageIndex, clientApplicationId_,
                                                                              comparedId, onSuccess, onFailure);
        break;
    default:
        break;
    }
}

// Statistics stand for their type; a reply that gives them no id of their
// own still names the type they count.
std::optional<std::string> HCChallengeListController::historyTypeId() const
{
    if (!challengeDefinitionStats_) return std::nullopt;
    if (auto id = challengeDefinitionStats_->resourceId()) return id;
    const auto& definition = challengeDefinitionStats_->challengeDefinition();
    return definition ? definition->resourceId() : std::nullopt;
}

void HCChallengeListController::onResourcesDownloaded(const HCPaginatedSeriesPtr& series)
{
    HC_CHECK_MAIN_THREAD();
    if (!series) return;
    for (const auto& object : series->objects()) {
        if (auto record = platform::as<HCChallengeToUser>(object)) takeOffUnviewedCount(*record);
    }
}

// On arrival rather than when a row is drawn: a row is drawn again at every
// scroll and reload.
void HCChallengeListController::takeOffUnviewedCount(HCChallengeToUser& record)
{
    auto challenge = record.challenge();
    auto definition = challenge ? challenge->challengeDefinition() : nullptr;
    if (!definition || record.isCompleted() || record.hasBeenViewed() || record.hasDecrementedChallengeCount()) return;
    if ((challenge->challenger() && challenge->challenger()->isLocalUser()) ||
        definition->clientApplicationId() != Halcyon::clientApplicationId())
        return;
    record.setHasDecrementedChallengeCount(true);
    if (!record.resourceId() || !countedRecords_.insert(*record.resourceId()).second) return;
    Halcyon::setUnviewedChallengesCount(std::max(0L, Halcyon::unviewedChallengesCount() - 1));
}

void HCChallengeListController::onSectionsCreated(const Sections& sections)
{
    if (sections.size() != 1) return;
    static constexpr const char* kTitles[] = {"Pending Challenges", "Challenge History", "Challenge Types"};
    if (listType_ >= kPending && listType_ <= kTypes) sections.front()->setTitle(std::string(kTitles[listType_]));
}

std::string HCChallengeListController::getNoDataFoundMessage()
{
    if (auto compared = getPageComparisonUser()) {
        const std::string name = compared->name().value_or("");
        if (listType_ == kPending) return "There are no pending challenges between you and " + name + ".";
        if (listType_ == kHistoryOfType) return "There have not been any challenges between you and " + name + ".";
        return "There are no available challenge types for " + Halcyon::applicationDisplayName() +
               " at this moment.";
    }
    if (clientApplicationId_ && clientApplicationId_ != Halcyon::clientApplicationId()) {
        return listType_ == kPending ? "You have no pending challenges for this game."
                                     : "You have not sent or received any challenges of this type.";
    }
    return "You don't have any pending challenges for " + Halcyon::applicationDisplayName() + ".";
}

void HCChallengeListController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    if (!navigation) return;
    if (listType_ == kTypes) {
        auto stats = platform::as<HCChallengeDefinitionStats>(resource);
        auto history = stats ? HCControllerLoader::load<HCChallengeListController>("ChallengeList") : nullptr;
        if (!history) return;
        history->setClientApplicationId(clientApplicationId_);
        history->setListType(kHistoryOfType);
        history->setChallengeDefinitionStats(stats);
        navigation->pushViewController(history, true);
        return;
    }
    std::shared_ptr<HCChallengeToUser> record = platform::as<HCChallengeToUser>(resource);
    std::shared_ptr<HCChallenge> sent = platform::as<HCChallenge>(resource);
    if (record) sent = record->challenge();
    if (!sent) return;
    auto detail = HCControllerLoader::load<HCChallengeDetailController>("ChallengeDetail");
    if (!detail) return;
    detail->setClientApplicationId(clientApplicationId_);
    detail->setChallengeId(sent->resourceId());
    detail->setList(listType_);
    detail->setChallengeCompleted(listType_ == kHistoryOfType && record && record->isCompleted());
    // Known at once, so the detail's header does not wait for the recipients.
    if (record) detail->setUserChallenge(record);
    navigation->pushViewController(detail, true);
}

void HCChallengeListController::profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&)
{
    reloadDataFromServer();
}
