#pragma once
// A game's announcements ("AnnouncementBrowser"). The running game's are
// the ones the client already holds (no request); reading them stores the
// latest announcement date and clears the unread count. Another game's are
// asked for and change nothing kept.
//
// Thread: main thread.
#include <memory>

#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCAnnouncementBrowserController : public HCTableSequenceControllerHelper {
public:
    // The page made by the loader; nil when it cannot be made.
    static std::shared_ptr<HCAnnouncementBrowserController> announcementBrowser();

    std::shared_ptr<HCService> getService() override;
    bool shouldAlwaysRefreshWhenShown() override { return true; }
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    std::string getNoDataFoundMessage() override { return "There are no announcements"; }
    void viewWillAppear(bool animated) override;

    std::string kindName() const override { return "HCAnnouncementBrowserController"; }

private:
    // No context game, or the running game.
    bool showsRunningGame() const;
};
