#include "socialpages/inbox/HCInboxTopLevelController.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/images/HCImageLoader.h"
#include "gamepages/fanclub/HCFanClubCell.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "uiframework/HCControllerLoader.h"

namespace {

struct BadgeSource {
    const char* notification;
    const char* key;
    int row;
};

constexpr BadgeSource kBadgeSources[] = {
    {HCNSNotificationUnreadInviteCountChanged, HCNSNotificationInfoUnreadInviteCount,
     HCInboxTopLevelController::kInvitationsRow},
    {HCNSNotificationUnreadIMCountChanged, HCNSNotificationInfoUnreadIMCount,
     HCInboxTopLevelController::kIMConversationsRow},
    {HCNSNotificationUnreadPostCountChanged, HCNSNotificationInfoUnreadPostCount,
     HCInboxTopLevelController::kForumPostsRow},
};

}  // namespace

HCInboxTopLevelController::~HCInboxTopLevelController()
{
    if (observing_) platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void HCInboxTopLevelController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTableStaticControllerHelper::viewDidLoad();
    setTitle("Inbox");
    if (observing_) return;
    observing_ = true;
    for (const auto& source : kBadgeSources) {
        platform::NotificationCenter::defaultCenter().addObserver(
            this, source.notification, [this](const platform::Notification& note) { _somethingHappened(note); });
    }
}

HCTableControllerHelper::Sections HCInboxTopLevelController::buildTableSectionDescriptions()
{
    HC_CHECK_MAIN_THREAD();
    std::vector<platform::ui::TableViewCellPtr> cells{
        createCell("Invitations", "HCInboxAcceptInviteIcon.png", Halcyon::unreadInviteCount(), "Invitations"),
        createCell("IM Conversations", "HCInboxIMIcon.png", Halcyon::unreadIMCount(), "InboxIMConversations"),
        createCell("Starred Forum Posts", "HCInboxForumsIcon.png", Halcyon::unreadPostCount(),
                   "InboxSubscribedForumThreads"),
    };
    return {HCTableSectionDescription::sectionWithTitleAndStaticCells(std::nullopt, std::move(cells))};
}

platform::ui::TableViewCellPtr HCInboxTopLevelController::createCell(const std::string& title, const std::string& iconName,
                                                                     long badge, const std::string& pageName)
{
    auto cell = std::dynamic_pointer_cast<HCFanClubCell>(HCControllerLoader::loadCell("FanClub", platform::self(this)));
    // A missing menu cell still takes its row, so the rows keep their places.
    if (!cell) return platform::ui::TableViewCell::make();
    cell->assemble();
    cell->titleLabel()->setText(title);
    cell->iconView()->setImage(iconName.empty() ? nullptr : HCImageLoader::loadImage(iconName));
    cell->badgeView()->setValue(static_cast<int>(badge));
    cell->setControllerName(pageName);
    return cell;
}

std::shared_ptr<HCFanClubCell> HCInboxTopLevelController::menuCell(int row) const
{
    if (sections().empty() || row < 0) return nullptr;
    const auto& cells = sections().front()->staticCells();
    return static_cast<size_t>(row) < cells.size() ? std::dynamic_pointer_cast<HCFanClubCell>(cells[row]) : nullptr;
}

void HCInboxTopLevelController::onCellWasClicked(const platform::ObjectPtr&, const IndexPath& indexPath)
{
    HC_CHECK_MAIN_THREAD();
    auto cell = indexPath.section == 0 ? menuCell(indexPath.row) : nullptr;
    auto navigation = navigationController();
    if (!cell || !navigation) return;
    if (auto page = cell->controllerName() ? HCControllerLoader::load(*cell->controllerName()) : nullptr)
        navigation->pushViewController(page, true);
    tableView()->deselectRowAtIndexPath(indexPath, true);
}

void HCInboxTopLevelController::_somethingHappened(const platform::Notification& notification)
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& source : kBadgeSources) {
        if (notification.name != source.notification) continue;
        auto cell = menuCell(source.row);
        auto value = notification.userInfo ? platform::as<platform::Number>(notification.userInfo->objectForKey(source.key))
                                           : nullptr;
        if (cell && value) cell->badgeView()->setValue(static_cast<int>(value->longLongValue()));
    }
}
