#include "socialpages/profile/HCProfileController.h"

#include "core/halcyon/Halcyon.h"
#include "core/replies/HCTableSectionDescription.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "core/users/HCUserService.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationItem.h"
#include "social/abuse/HCAbuseReporter.h"
#include "social/conversations/HCConversation.h"
#include "social/conversations/HCConversationService.h"
#include "social/friends/HCFriendsService.h"
#include "social/profiles/HCProfileService.h"
#include "socialpages/HCPageActions.h"
#include "socialpages/conversations/HCConversationController.h"
#include "socialpages/friends/HCPendingFriends.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"

namespace {

using platform::ui::Rect;

std::shared_ptr<platform::ui::Button> textButton(const std::string& title, const Rect& frame)
{
    auto button = platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect);
    button->setFrame(frame);
    button->setTitle(title, platform::ui::ControlStateNormal);
    return button;
}

// "friend" or "friends", "game" or "games": a total below 2 is singular.
std::string counted(uint32_t total, const std::string& noun)
{
    return std::to_string(total) + " " + noun + (total < 2 ? "" : "s");
}

}  // namespace

void HCProfileController::showProfileForUser(const std::shared_ptr<HCUser>& user)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    if (!navigation || !user) return;
    if (auto page = getProfileControllerForUser(user, navigation)) pushInContextOfUser(navigation, page, user);
}

void HCProfileController::pushInContextOfUser(const std::shared_ptr<platform::ui::NavigationController>& navigation,
                                              const platform::ui::ViewControllerPtr& page,
                                              const std::shared_ptr<HCUser>& user)
{
    if (!navigation || !page) return;
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(navigation);
    if (framed && user) {
        framed->pushViewController(page, true, user);
    } else {
        navigation->pushViewController(page, true);
    }
}

void HCProfileController::showProfileForUserId(const std::optional<std::string>& userId)
{
    HC_CHECK_MAIN_THREAD();
    HCUserService::getUser(userId, HCDelegate::withFunction([](const platform::ObjectPtr& reply) {
                               showProfileForPaginatedSeries(platform::as<HCPaginatedSeries>(reply));
                           }),
                           HCDelegate::withFunction([](const platform::ObjectPtr&) { failedToLoadUser(); }));
}

void HCProfileController::showProfileForPaginatedSeries(const std::shared_ptr<HCPaginatedSeries>& series)
{
    HC_CHECK_MAIN_THREAD();
    // A reply that holds no player (empty, or other resources only) would
    // otherwise open nothing and say nothing.
    if (series) {
        for (const auto& object : series->objects()) {
            if (auto user = platform::as<HCUser>(object)) return showProfileForUser(user);
        }
    }
    failedToLoadUser();
}

void HCProfileController::failedToLoadUser()
{
    platform::ui::AlertView::make(kFailedToLoadUserTitle, kFailedToLoadUserMessage, {}, std::string("OK"))->show();
}

std::shared_ptr<HCProfileController> HCProfileController::getProfileControllerForUser(
    const std::shared_ptr<HCUser>& user, const std::shared_ptr<platform::ui::NavigationController>& navigation)
{
    HC_CHECK_MAIN_THREAD();
    if (!user) return nullptr;
    if (auto shown = std::dynamic_pointer_cast<HCProfileController>(navigation ? navigation->visibleViewController()
                                                                               : nullptr)) {
        auto shownUser = shown->getPageContextUser();
        if (shownUser && shownUser->resourceId() == user->resourceId()) return nullptr;
    }
    auto page = HCControllerLoader::load<HCProfileController>("Profile");
    if (page) page->setTitle(user->name().value_or(""));
    return page;
}

HCProfileController::HCProfileController()
    : friendsSubtextLabel_(platform::ui::Label::make(Rect(10, 66, 220, 24))),
      gamesSubtextLabel_(platform::ui::Label::make(Rect(10, 100, 220, 24))),
      friendsButton_(textButton("Friends", Rect(240, 64, 70, 28))),
      gamesButton_(textButton("Games", Rect(240, 98, 70, 28))),
      flagButton_(textButton("Report Player", Rect(10, 200, 140, 32))),
      imButton_(textButton("Send IM", Rect(170, 8, 140, 34))),
      actionPanelView_(std::make_shared<platform::ui::View>(Rect(0, 140, 320, 50))),
      toggleFriendButton_(std::make_shared<HCDefaultButton>(Rect(10, 8, 140, 34)))
{
}

void HCProfileController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    auto root = view();
    for (const platform::ui::ViewPtr& part :
         std::initializer_list<platform::ui::ViewPtr>{friendsSubtextLabel_, gamesSubtextLabel_, friendsButton_,
                                                      gamesButton_, actionPanelView_, flagButton_})
        root->addSubview(part);
    actionPanelView_->addSubview(toggleFriendButton_);
    actionPanelView_->addSubview(imButton_);
    wirePageAction<HCProfileController>(imButton_, this, &HCProfileController::onInstantMessage);
    wirePageAction<HCProfileController>(toggleFriendButton_, this, &HCProfileController::onToggleFollowing);
    wirePageAction<HCProfileController>(flagButton_, this, &HCProfileController::onFlag);
    wirePageAction<HCProfileController>(friendsButton_, this, &HCProfileController::onFriendsClicked);
    wirePageAction<HCProfileController>(gamesButton_, this, &HCProfileController::onGamesClicked);
}

void HCProfileController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewWillAppear(animated);
    auto user = getPageContextUser();
    setTitle(user ? user->name().value_or("") + "'s Profile" : std::string("Profile"));
}

std::shared_ptr<HCProfileController> HCProfileController::me()
{
    return std::static_pointer_cast<HCProfileController>(platform::self(this));
}

void HCProfileController::viewDidAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidAppear(animated);
    bannerFrame_.pageAppeared(*this);
    if (friendsInfo_ || gamesInfo_) return;
    auto user = getPageContextUser();
    showLoadingScreen();
    auto [loaded, failed] = pageRequestDelegates<HCProfileController>(
        me(),
        [](auto& page, const auto& reply) { page._profileDownloadSucceeded(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& page, const auto& failure) { page._profileDownloadFailed(failure); });
    auto handle = HCProfileService::getProfileForUser(user ? user->resourceId() : std::nullopt, loaded, failed);
    // A service that is not running calls nothing back.
    if (!handle) hideLoadingScreen();
}

void HCProfileController::viewDidDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidDisappear(animated);
    bannerFrame_.pageDisappeared();
}

void HCProfileController::_profileDownloadSucceeded(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    friendsInfo_.reset();
    gamesInfo_.reset();
    for (const auto& object : series ? series->objects() : HCPaginatedSeries::Objects{}) {
        auto section = platform::as<HCTableSectionDescription>(object);
        if (!section || !section->page()) continue;
        if (section->identifier() == "friends") friendsInfo_ = section->page()->header();
        if (section->identifier() == "games") gamesInfo_ = section->page()->header();
    }
    auto user = getPageContextUser();
    const bool local = !user || user->isLocalUser();
    actionPanelView_->setHidden(local);
    flagButton_->setHidden(local);
    _updateFriendButtonState(user && user->followedByLocalUser());
    imButton_->setHidden(!Halcyon::allowUserGeneratedContent());
    const std::string subject = local ? "You" : user->name().value_or("");
    const std::string verb = local ? "have" : "has";
    const uint32_t friends = friendsInfo_ ? friendsInfo_->totalObjects() : 0;
    const uint32_t games = gamesInfo_ ? gamesInfo_->totalObjects() : 0;
    friendsSubtextLabel_->setText(subject + " " + verb + " " +
                                  (friends > 0 ? counted(friends, "friend") : "not added any friends"));
    gamesSubtextLabel_->setText(subject + " " + verb + " " +
                                (games > 0 ? "played " + counted(games, "game") : "not played any games"));
}

void HCProfileController::_profileDownloadFailed(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
}

void HCProfileController::_updateFriendButtonState(bool following)
{
    if (following) {
        HCRedBorderedButton::setupButton(*toggleFriendButton_);
        toggleFriendButton_->setTitleForAllStates("Remove Friend");
    } else {
        HCGreenBorderedButton::setupButton(*toggleFriendButton_);
        toggleFriendButton_->setTitleForAllStates("Add Friend");
    }
}

void HCProfileController::onToggleFollowing()
{
    HC_CHECK_MAIN_THREAD();
    auto user = getPageContextUser();
    if (!user || user->isLocalUser()) return;
    showLoadingScreen();
    auto [success, failure] = pageRequestDelegates<HCProfileController>(
        me(), [](auto& page, const auto& reply) { page.onFollowChangedState(reply); },
        [](auto& page, const auto& failed) { page.onFollowFailedChangingState(failed); });
    auto handle = user->followedByLocalUser()
                      ? HCFriendsService::makeLocalUserStopFollowing(user->resourceId(), success, failure)
                      : HCFriendsService::makeLocalUserFollow(user->resourceId(), success, failure);
    if (!handle) hideLoadingScreen();
}

void HCProfileController::onFollowChangedState(std::shared_ptr<platform::Object>)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    auto user = getPageContextUser();
    if (!user) return;
    const bool following = !user->followedByLocalUser();
    user->setFollowedByLocalUser(following);
    _updateFriendButtonState(following);
    if (following) {
        HCPendingFriends::startedFollowing(user);
    } else {
        HCPendingFriends::stoppedFollowing(user);
    }
}

void HCProfileController::onFollowFailedChangingState(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
}

void HCProfileController::onInstantMessage()
{
    HC_CHECK_MAIN_THREAD();
    auto user = getPageContextUser();
    if (!user || user->isLocalUser()) return;
    showLoadingScreen();
    auto [started, failed] = pageRequestDelegates<HCProfileController>(
        me(), [](auto& page, const auto& reply) { page._conversationStarted(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& page, const auto&) { page.hideLoadingScreen(); },
        tellWithAlert<HCProfileController>("Error", kConversationErrorMessage, "Ok"));
    auto handle = HCConversationService::startConversationWithUser(user->resourceId(), started, failed);
    if (!handle) hideLoadingScreen();
}

void HCProfileController::_conversationStarted(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    hideLoadingScreen();
    if (!series || series->objects().size() != 1) return;
    auto conversation = platform::as<HCConversation>(series->objects().front());
    auto navigation = navigationController();
    if (!conversation || !navigation) return;
    navigation->pushViewController(
        HCConversationController::conversationWithId(conversation->resourceId(), conversation->otherUser()), true);
}

void HCProfileController::onFlag()
{
    HC_CHECK_MAIN_THREAD();
    auto user = getPageContextUser();
    if (!user || user->isLocalUser()) return;
    if (reportUserForumPost_ && forumThreadView_) {
        HCAbuseReporter::reportAbuseByUserForumPost(user->resourceId(), reportUserForumPost_->resourceId(),
                                                    forumThreadView_);
        return;
    }
    HCAbuseReporter::reportAbuseByUser(user->resourceId(), HalcyonDashboard::getRootController());
}

void HCProfileController::pushForPlayer(const platform::ui::ViewControllerPtr& page)
{
    pushInContextOfUser(navigationController(), page, getPageContextUser());
}

void HCProfileController::onGamesClicked()
{
    HC_CHECK_MAIN_THREAD();
    if (!gamesInfo_ || gamesInfo_->totalObjects() == 0) return;
    auto page = HCControllerLoader::load("PlayedGame");
    if (page) page->navigationItem()->setTitle("Games Played");
    pushForPlayer(page);
}

void HCProfileController::onFriendsClicked()
{
    HC_CHECK_MAIN_THREAD();
    if (!friendsInfo_ || friendsInfo_->totalObjects() == 0) return;
    pushForPlayer(HCControllerLoader::load("Friends"));
}

void HCProfileController::bannerProfilePictureTouched()
{
    HC_CHECK_MAIN_THREAD();
    auto user = getPageContextUser();
    if (user && !user->isLocalUser()) return;
    auto navigation = navigationController();
    auto page = HCControllerLoader::load("SelectProfilePicture");
    if (page && navigation) navigation->pushViewController(page, true);
}
