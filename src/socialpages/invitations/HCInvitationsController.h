#pragma once
// The invitations the player received ("Invitations"), with their cell
// ("Invite"). Listing marks them viewed at the service, so each download
// lowers the client's unread count by the unviewed ones it brings (never
// below 0). Edit appears once a download brought an invitation; deleting a
// row ignores the invitation at the service, and a failed ignore brings the
// list back from the service so the row is not lost from sight. An
// invitation ignored from its web page makes the list reload whenever it
// reappears.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCInvitationsController : public HCTableSequenceControllerHelper {
public:
    // An invitation was ignored from the web page above the list.
    void notifyInviteIgnored(const std::optional<std::string>& inviteId);

    std::shared_ptr<HCService> getService() override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::string getNoDataFoundMessage() override { return "You have no unviewed game invitations at this time."; }
    bool usePlainTableSectionHeaders() override { return true; }
    bool allowEditing() override { return true; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void onResourceWasDeleted(const platform::ObjectPtr& resource) override;
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    std::string kindName() const override { return "HCInvitationsController"; }

private:
    void _updateEditButtonState();
    void _toggleEditing();

    bool reloadOnWillAppear_ = false;
};

class HCInviteCell : public HCTableCellHelper {
public:
    HCInviteCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    const platform::ui::ViewPtr& freshnessIndicator() const { return freshnessIndicator_; }
    std::string kindName() const override { return "HCInviteCell"; }

private:
    std::shared_ptr<HCImageView> inviteIcon_;
    std::shared_ptr<platform::ui::Label> gameTitle_, invitedBy_, userMessage_;
    platform::ui::ViewPtr freshnessIndicator_;
};
