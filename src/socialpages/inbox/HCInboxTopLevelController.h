#pragma once
// The inbox menu ("InboxTopLevel"): invitations, IM conversations and
// starred forum posts, each with its unread badge, which follows the
// client's unread-count notifications for as long as the menu exists.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/foundation/NotificationCenter.h"
#include "uiframework/table/HCTableStaticControllerHelper.h"

class HCFanClubCell;

class HCInboxTopLevelController : public HCTableStaticControllerHelper {
public:
    enum Row { kInvitationsRow = 0, kIMConversationsRow = 1, kForumPostsRow = 2 };

    ~HCInboxTopLevelController() override;

    Sections buildTableSectionDescriptions() override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewDidLoad() override;

    void _somethingHappened(const platform::Notification& notification);
    std::string kindName() const override { return "HCInboxTopLevelController"; }

private:
    platform::ui::TableViewCellPtr createCell(const std::string& title, const std::string& iconName, long badge,
                                              const std::string& pageName);
    std::shared_ptr<HCFanClubCell> menuCell(int row) const;

    bool observing_ = false;
};
