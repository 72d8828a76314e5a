#include "core/halcyon/Halcyon.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "social/conversations/HCSubscription.h"
#include "socialpages/inbox/HCInboxController.h"

namespace {

// Keeps the subscriptions of one kind in the reply.
void keepOnly(const HCPaginatedSeriesPtr& series, bool conversations)
{
    if (!series) return;
    std::vector<platform::ObjectPtr> kept;
    for (const auto& object : series->objects()) {
        auto subscription = platform::as<HCSubscription>(object);
        if (subscription && subscription->isConversation() == conversations) kept.push_back(object);
    }
    auto header = series->header();
    series->setObjects(std::move(kept));
    series->setHeader(header);
}

// The rows shown, not only the last page's, with unread messages.
long unreadRows(const HCTableControllerHelper& page)
{
    long unread = 0;
    for (const auto& section : page.sections()) {
        if (section->hasStaticCells()) continue;
        for (size_t i = 0; i < section->count(); ++i) {
            auto subscription = platform::as<HCSubscription>(section->objectAtIndex(i));
            if (subscription && subscription->unreadCount() > 0) ++unread;
        }
    }
    return unread;
}

}  // namespace

void HCInboxKindController::viewWillAppear(bool animated)
{
    HCInboxController::viewWillAppear(animated);
    setTitle(title_);
}

void HCInboxKindController::onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series)
{
    HCInboxController::onBeforeResourcesProcessed(series);
    keepOnly(series, conversations_);
}

void HCInboxKindController::_onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    HCInboxController::_onDataLoaded(series, isIncremental);
    storeUnread_(unreadRows(*this));
}

HCInboxIMConversationsController::HCInboxIMConversationsController()
    : HCInboxKindController(true, "IM Conversations", static_cast<StoreUnread>(&Halcyon::setUnreadIMCount))
{
}

void HCInboxIMConversationsController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    HCInboxKindController::loadView();
    std::weak_ptr<HCInboxController> weakSelf = std::static_pointer_cast<HCInboxController>(platform::self(this));
    navigationItem()->setRightBarButtonItem(
        platform::ui::BarButtonItem::withSystemItem(platform::ui::SystemItem::Compose, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->_newMessagePressed();
        }));
}

HCInboxSubscribedForumThreadsController::HCInboxSubscribedForumThreadsController()
    : HCInboxKindController(false, "Starred Threads", static_cast<StoreUnread>(&Halcyon::setUnreadPostCount))
{
}
