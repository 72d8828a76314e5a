#include "socialpages/conversations/HCConversationController.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/halcyon/Halcyon.h"
#include "core/poller/HCResourcePollerReplyReader.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "social/conversations/HCConversation.h"
#include "social/conversations/HCConversationService.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCOnlineStatus.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"

namespace {

constexpr const char* kPostClass = "HCForumPost";

std::vector<platform::ObjectPtr> resourcesOf(const platform::Notification& notification)
{
    auto list = notification.userInfo ? notification.userInfo->get<platform::Array>(HCPollerNotificationKeyResources)
                                      : nullptr;
    return list ? list->items() : std::vector<platform::ObjectPtr>();
}

long long idNumber(const std::optional<std::string>& id)
{
    return id ? std::strtoll(id->c_str(), nullptr, 10) : 0;
}

}  // namespace

std::shared_ptr<HCConversationController> HCConversationController::conversationWithId(
    const std::optional<std::string>& conversationId, const HCUserPtr& user,
    const std::optional<std::string>& initialText)
{
    HC_CHECK_MAIN_THREAD();
    auto page = std::make_shared<HCConversationController>();
    page->setConversationUser(user);
    page->setConversationId(conversationId);
    if (initialText && !initialText->empty()) page->messageBox()->setInitialText(*initialText);
    return page;
}

HCConversationController::~HCConversationController()
{
    if (poller_) poller_->stopPolling();
    if (observing_) platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void HCConversationController::setConversationId(std::optional<std::string> id)
{
    HC_CHECK_MAIN_THREAD();
    conversationId_ = std::move(id);
    messageBox()->setConversationId(conversationId_);
}

const std::shared_ptr<HCConversationMessageBoxController>& HCConversationController::messageBox()
{
    view();
    return messageBox_;
}

void HCConversationController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    HCTableSequenceControllerHelper::loadView();
    messageBox_ = HCControllerLoader::load<HCConversationMessageBoxController>("ConversationMessageBox",
                                                                                platform::self(this));
    if (!messageBox_) messageBox_ = std::make_shared<HCConversationMessageBoxController>();
    messageBox_->setConversationId(conversationId_);
    messageBox_->messageField()->setDelegate(std::static_pointer_cast<HCExpandableSinglelineTextFieldDelegate>(
        std::static_pointer_cast<HCConversationController>(platform::self(this))));
}

platform::ui::ViewPtr HCConversationController::getBottomView()
{
    return messageBox()->view();
}

void HCConversationController::adjustFrameForKeyboard(bool shown)
{
    if (auto host = std::dynamic_pointer_cast<HCBottomViewHost>(navigationController()))
        host->adjustForKeyboard(shown, keyboardHeight_);
}

void HCConversationController::_adjustTableOffsetY(double delta, bool animated)
{
    const auto table = tableView();
    const double most = std::max(0.0, table->contentSize().height - table->bounds().height());
    const double y = std::clamp(table->contentOffset().y + delta, 0.0, most);
    table->setContentOffset(platform::ui::Point(table->contentOffset().x, y), animated);
}

void HCConversationController::multilineTextFieldDidResize(HCExpandableSinglelineTextField& field)
{
    HC_CHECK_MAIN_THREAD();
    auto box = messageBox()->view();
    auto frame = box->frame();
    const double bottom = frame.origin.y + frame.size.height;
    const double height = field.frame().height() + (platform::DeviceFacts::isLargeScreen() ? 12.0 : 6.0);
    const double growth = height - frame.size.height;
    frame.origin.y = bottom - height;
    frame.size.height = height;
    box->setFrame(frame);
    if (auto host = std::dynamic_pointer_cast<HCBottomViewHost>(navigationController())) host->refreshBottomView();
    if (growth > 0) _adjustTableOffsetY(growth, true);
}

void HCConversationController::_keyboardWillShow(const platform::Notification& notification)
{
    HC_CHECK_MAIN_THREAD();
    if (isKeyboardShown_) return;
    isKeyboardShown_ = true;
    if (platform::DeviceFacts::isLargeScreen()) {
        _adjustTableOffsetY(kKeyboardAdjustment, true);
        return;
    }
    if (auto navigation = navigationController()) navigation->setNavigationBarHidden(true, true);
    keyboardHeight_ = notification.userInfo ? platform::ui::keyboardSize(*notification.userInfo).height : 0;
    adjustFrameForKeyboard(true);
    _adjustTableOffsetY(keyboardHeight_, false);
}

void HCConversationController::_keyboardWillHide(const platform::Notification&)
{
    HC_CHECK_MAIN_THREAD();
    if (!isKeyboardShown_) return;
    isKeyboardShown_ = false;
    messageBox()->setInitialText("");
    if (platform::DeviceFacts::isLargeScreen()) return;
    auto navigation = navigationController();
    if (navigation) navigation->setNavigationBarHidden(false, true);
    adjustFrameForKeyboard(false);
    keyboardHeight_ = 0;
    // The bar coming back pushes the table down by its height: the rows
    // scroll by as much, so they stay where the player was reading them.
    if (navigation) _adjustTableOffsetY(navigation->navigationBar()->frame().height(), true);
}

std::shared_ptr<HCService> HCConversationController::getService()
{
    return HCConversationService::sharedInstance();
}

void HCConversationController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCForumPost>("Conversation");
    map.addResourceClass<HCOnlineStatus>("OnlineStatus");
}

// --- loading ---------------------------------------------------------------------------

void HCConversationController::doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    auto self = platform::self(this);
    if (conversationId_) {
        HCConversationService::getConversationHistory(
            conversationId_, 1, HCDelegate(self, &HCConversationController::_initialIndexComplete, onSuccess),
            onFailure);
        return;
    }
    // The load lasts until the history of the new conversation is in; a
    // start the provider drops unanswered ends it like a refused one. Only a
    // page on screen says so: one the player left starts again when he
    // comes back to it.
    startingLoadFailure_ = onFailure;
    auto [started, failed] = pageRequestDelegates<HCConversationController>(
        std::static_pointer_cast<HCConversationController>(self),
        [](auto& page, const auto& reply) { page._startedConversation(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& page, const auto&) { page._errorStartingConversation(); },
        [](auto&, const auto&) { HalcyonDashboard::displayErrorMessage(kStartErrorMessage); });
    HCConversationService::startConversationWithUser(conversationUser_ ? conversationUser_->resourceId() : std::nullopt,
                                                     started, failed);
}

void HCConversationController::_startedConversation(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    auto conversation = series && series->count() == 1 ? platform::as<HCConversation>(series->objectAtIndex(0)) : nullptr;
    if (!conversation || !conversation->resourceId()) {
        const bool shown = pageIsShown(*this);
        _errorStartingConversation();
        if (shown) HalcyonDashboard::displayErrorMessage(kStartErrorMessage);
        return;
    }
    setConversationId(conversation->resourceId());
    startingLoadFailure_ = HCDelegate();
    _refreshData();
}

void HCConversationController::_errorStartingConversation()
{
    HC_CHECK_MAIN_THREAD();
    auto endLoad = std::exchange(startingLoadFailure_, HCDelegate());
    endLoad.invokeNow();
    hideLoadingScreen();
}

void HCConversationController::_initialIndexComplete(std::shared_ptr<HCPaginatedSeries> series,
                                                     std::shared_ptr<HCDelegateChained> next)
{
    HC_CHECK_MAIN_THREAD();
    long long newest = 0;
    if (series)
        for (const auto& object : series->objects())
            if (auto resource = platform::as<HCResource>(object)) newest = std::max(newest, idNumber(resource->resourceId()));
    // Reloads keep the page's one poller; only the id it counts from moves.
    if (!poller_) {
        poller_ = HCPoller::initWithProvider(Halcyon::provider(), "discussions/" + conversationId_.value_or("") +
                                                                      "/posts.xml");
        if (auto postClass = HCPollerResourceClassNamed(kPostClass)) poller_->registerResourceClass(*postClass);
    }
    poller_->clearCacheAndForceLastSeenId(newest, kPostClass);
    // A page shown no more (another tab, a page over it) starts polling when it comes back.
    if (isVisible()) poller_->changePollingFrequency(static_cast<double>(Halcyon::getPollingFrequencyInChat()));
    hasCompletedInitialIndex_ = true;
    // The partner's presence is shown with the history (the base shows the
    // series later, so a row added to the table now would be lost).
    if (series && conversationUser_) {
        auto objects = series->objects();
        objects.insert(objects.begin(), HCOnlineStatus::initWithUser(conversationUser_, conversationUser_->online()));
        auto header = series->header();
        series->setObjects(std::move(objects));
        series->setHeader(header);
    }
    if (next) next->invokeWith(series);
}

// --- showing -----------------------------------------------------------------------------

void HCConversationController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    if (!observing_) {
        observing_ = true;
        auto& center = platform::NotificationCenter::defaultCenter();
        center.addObserver(this, HCPollingFailed, [this](const platform::Notification& note) { _pollingFailed(note); });
        center.addObserver(this, HCUser::invalidUser()->getResourceDiscoveredNotification(),
                           [this](const platform::Notification& note) { _userDidChangePresence(note); });
        center.addObserver(this, platform::ui::KeyboardWillShowNotification,
                           [this](const platform::Notification& note) { _keyboardWillShow(note); });
        center.addObserver(this, platform::ui::KeyboardWillHideNotification,
                           [this](const platform::Notification& note) { _keyboardWillHide(note); });
    }
    if (hasCompletedInitialIndex_ && poller_)
        poller_->changePollingFrequency(static_cast<double>(Halcyon::getPollingFrequencyInChat()));
    setTitle(conversationUser_ ? conversationUser_->name().value_or("") : std::string());
    auto box = messageBox()->view();
    auto frame = box->frame();
    frame.size.height = HCConversationMessageBoxController::kHeight;
    box->setFrame(frame);
    messageBox()->viewWillAppear(animated);
    HCTableSequenceControllerHelper::viewWillAppear(animated);
}

void HCConversationController::viewDidAppear(bool animated)
{
    messageBox()->viewDidAppear(animated);
    HCTableSequenceControllerHelper::viewDidAppear(animated);
}

void HCConversationController::viewWillDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    messageBox()->messageField()->resignFirstResponder();
    if (observing_) platform::NotificationCenter::defaultCenter().removeObserver(this);
    observing_ = false;
    if (poller_) poller_->stopPolling();
    isKeyboardShown_ = false;
    keyboardHeight_ = 0;
    messageBox()->viewWillDisappear(animated);
    HCTableSequenceControllerHelper::viewWillDisappear(animated);
}

void HCConversationController::viewDidDisappear(bool animated)
{
    messageBox()->viewDidDisappear(animated);
    HCTableSequenceControllerHelper::viewDidDisappear(animated);
}

void HCConversationController::onCellWasClicked(const platform::ObjectPtr&, const IndexPath& indexPath)
{
    HC_CHECK_MAIN_THREAD();
    messageBox()->messageField()->resignFirstResponder();
    tableView()->deselectRowAtIndexPath(indexPath, false);
}

// --- what the pollers bring --------------------------------------------------------------

void HCConversationController::_pollingFailed(const platform::Notification& notification)
{
    HC_CHECK_MAIN_THREAD();
    // Only this conversation's poll: another page's failing poller is not ours to answer.
    auto source = platform::as<platform::String>(notification.object);
    if (!source || !poller_ || source->value() != poller_->sourceUrl()) return;
    if (auto navigation = navigationController()) navigation->popViewController(false);
}

std::optional<std::string> HCConversationController::getNotificationToRefreshAfter()
{
    return HCForumPost().getResourceDiscoveredNotification();
}

bool HCConversationController::isNotificationResourceValid(const platform::ObjectPtr& resource)
{
    auto post = platform::as<HCForumPost>(resource);
    return post && conversationId_ && post->discussionId() == conversationId_;
}

void HCConversationController::_userDidChangePresence(const platform::Notification& notification)
{
    HC_CHECK_MAIN_THREAD();
    if (!conversationUser_ || !conversationUser_->resourceId() || !hasLoadedData()) return;
    // A notice may carry several players; the partner need not be the first.
    for (const auto& resource : resourcesOf(notification)) {
        auto user = platform::as<HCUser>(resource);
        if (user && user->resourceId() == conversationUser_->resourceId()) {
            _updateOnlineStatusWithUser(conversationUser_, user->online());
            return;
        }
    }
}

void HCConversationController::_updateOnlineStatusWithUser(const HCUserPtr& user, bool isOnline)
{
    if (sections().empty() || !sections().front()->page() || sections().front()->hasStaticCells()) return;
    const auto& page = sections().front()->page();
    auto objects = page->objects();
    objects.insert(objects.begin(), HCOnlineStatus::initWithUser(user, isOnline));
    auto header = page->header();
    page->setObjects(std::move(objects));
    page->setHeader(header);
    // Redraws the rows and trades the no-data message for them.
    _onDataLoaded(HCPaginatedSeries::paginatedSeries(), true);
    const int last = tableView()->numberOfRowsInSection(0) - 1;
    if (last >= 0)
        tableView()->scrollToRowAtIndexPath(IndexPath{0, last}, platform::ui::TableViewScrollPosition::Bottom, true);
}
