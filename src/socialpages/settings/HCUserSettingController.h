#pragma once
// The player's settings ("UserSetting"): the service's sections, a switch
// per on/off setting and a row per page it offers, fetched again each time
// the page is shown. The stream-integration rows of the Twitter and Facebook
// permission sections are left out. The "Logout" bar button asks first, in
// a sheet; "Logout" there logs the player out and closes the dashboard, and
// a turn of the dashboard takes the sheet away as if cancelled.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/ActionSheet.h"
#include "uiframework/HCProfileFrame.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCTableSectionDescription;

class HCUserSettingController final : public HCTableSequenceControllerHelper,
                                      public HCProfileFrame,
                                      public platform::ui::ActionSheetDelegate {
public:
    static constexpr const char* kLogoutPrompt = "Logging out will disable all Halcyon features.  Are you sure?";

    ~HCUserSettingController() override;

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    bool usePlainTableSectionHeaders() override { return true; }
    bool shouldAlwaysRefreshWhenShown() override { return true; }
    std::string getNoDataFoundMessage() override { return "There are no settings available right now"; }
    void _onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    // The settings are always the local player's, whoever the frame shows.
    bool supportsComparison() override { return false; }
    void profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&) override {}
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void logout();
    void _logoutNow();
    void actionSheetDidDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int buttonIndex) override;
    // Takes the row whose setting is `name` out of the section's page.
    static void removeSettingNamed(const std::string& name, const std::shared_ptr<HCTableSectionDescription>& section);

    const std::shared_ptr<platform::ui::ActionSheet>& logoutSheet() const { return logoutSheet_; }
    std::string kindName() const override { return "HCUserSettingController"; }

private:
    void orientationDidChange();

    std::shared_ptr<platform::ui::ActionSheet> logoutSheet_;
};
