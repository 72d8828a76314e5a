#pragma once
// One announcement ("AnnouncementDetail"): its title and text on top and,
// below, the discussion of it, which is a forum discussion whose first post
// is the announcement's own text (the header shows it; the rows are the
// replies). Until that post arrives, or when the discussion cannot be read,
// the header shows the text the announcement came with. The bar offers a
// reply (unless the discussion is locked) and "Close" when asked for. Under
// parental controls no reply shows. A locked discussion shows its replies;
// without any, or when they cannot be read, the header stands over the
// words that the discussion has been disabled, never an empty view in the
// table's place that would hide the header with it.
//
// Thread: main thread.
#include <memory>

#include "social/announcements/HCAnnouncement.h"
#include "social/forums/HCForumPost.h"
#include "socialpages/forums/HCForumThreadViewController.h"

class HCAnnouncementDetailController : public HCForumThreadViewController {
public:
    static constexpr double kMinimumDetailHeight = 124.0;

    static std::shared_ptr<HCAnnouncementDetailController> announcementDetail(const HCAnnouncementPtr& announcement);

    const HCForumPostPtr& firstPost() const { return firstPost_; }
    bool showCloseButton() const { return showCloseButton_; }
    void setShowCloseButton(bool show) { showCloseButton_ = show; }
    // The bar's segments: 0 replies while the discussion is open; "Close" closes the dashboard page.
    void segmentTapped(int index);
    void pressedBuy();

    std::shared_ptr<HCService> getService() override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::optional<std::string> getTableHeaderControllerName() override { return "AnnouncementDetailHeader"; }
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    // The first post of the discussion is the announcement's own text.
    bool usesHeaderResource() override { return true; }
    size_t getHeaderResourceSectionIndex() override { return 0; }
    void onHeaderResourceDownloaded(const platform::ObjectPtr& resource) override;
    void onSectionsCreated(const Sections& sections) override;
    // The rows stand one object after the header's post: the next page is
    // asked for at the row of the last object.
    bool shouldEnableNextButtonWithSection(const HCTableSectionDescription& section,
                                           const IndexPath& indexPath) override;
    static constexpr const char* kLockedText = "Discussion has been disabled for this announcement.";
    std::string getNoDataFoundMessage() override;
    // A locked discussion says it is disabled: no one can add to it anyway.
    std::string getLoadFailedMessage() override;
    void viewWillAppear(bool animated) override;

    std::string kindName() const override { return "HCAnnouncementDetailController"; }

private:
    bool isLocked() const { return thread() && thread()->isLocked(); }

    HCForumPostPtr firstPost_;
    bool showCloseButton_ = false;
};
