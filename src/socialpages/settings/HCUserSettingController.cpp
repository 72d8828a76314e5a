#include "socialpages/settings/HCUserSettingController.h"

#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonNotificationNames.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/xp/HCSession.h"
#include "accounts/HCAccountForms.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/settings/HCUserSetting.h"
#include "social/settings/HCUserSettingPushController.h"
#include "social/settings/HCUserSettingService.h"
#include "socialpages/HCTopLevelSheet.h"
#include "uiframework/table/HCResourceControllerMap.h"

namespace {

// The service still lists these integrations, but the client has nothing
// behind them.
struct DroppedRow {
    const char* section;
    const char* setting;
};
constexpr DroppedRow kDroppedRows[] = {
    {"Twitter Permissions", "Stream Integration"},
    {"Facebook Permissions", "News Feed Integration"},
};

}  // namespace

std::shared_ptr<HCService> HCUserSettingController::getService()
{
    return HCUserSettingService::sharedInstance();
}

void HCUserSettingController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUserSetting>("UserSetting");
    map.addResourceClass<HCUserSettingPushController>("UserSettingAction");
}

void HCUserSettingController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    setTitle("Settings");
    std::weak_ptr<HCUserSettingController> weakSelf =
        std::static_pointer_cast<HCUserSettingController>(platform::self(this));
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withTitle(
        "Logout", platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->logout();
        }));
    HCTableSequenceControllerHelper::viewDidLoad();
}

void HCUserSettingController::removeSettingNamed(const std::string& name,
                                                 const std::shared_ptr<HCTableSectionDescription>& section)
{
    if (!section || !section->page()) return;
    auto objects = section->page()->objects();
    std::erase_if(objects, [&name](const platform::ObjectPtr& object) {
        auto setting = platform::as<HCUserSetting>(object);
        return setting && setting->name() == name;
    });
    section->page()->setObjects(std::move(objects));
}

void HCUserSettingController::_onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental)
{
    HC_CHECK_MAIN_THREAD();
    if (series) {
        for (const auto& object : series->objects()) {
            auto section = platform::as<HCTableSectionDescription>(object);
            if (!section || !section->title()) continue;
            for (const auto& dropped : kDroppedRows)
                if (*section->title() == dropped.section) removeSettingNamed(dropped.setting, section);
        }
    }
    HCTableSequenceControllerHelper::_onDataLoaded(series, isIncremental);
}

void HCUserSettingController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    HC_CHECK_MAIN_THREAD();
    auto row = platform::as<HCUserSettingPushController>(resource);
    if (!row) return;
    auto page = row->getController();
    if (!page) return;
    if (auto form = std::dynamic_pointer_cast<HCAccountSetupBaseController>(page))
        form->setAddingAdditionalCredential(true);
    if (auto login = std::dynamic_pointer_cast<HCHalcyonAccountLoginController>(page)) login->setHideIntroFlowSpacer(true);
    if (auto navigation = navigationController()) navigation->pushViewController(page, true);
}

void HCUserSettingController::viewWillAppear(bool animated)
{
    std::weak_ptr<HCUserSettingController> weakSelf =
        std::static_pointer_cast<HCUserSettingController>(platform::self(this));
    platform::NotificationCenter::defaultCenter().addObserver(
        this, HCNSNotificationDashboardOrientationChanged, [weakSelf](const platform::Notification&) {
            if (auto page = weakSelf.lock()) page->orientationDidChange();
        });
    HCTableSequenceControllerHelper::viewWillAppear(animated);
}

HCUserSettingController::~HCUserSettingController()
{
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void HCUserSettingController::viewWillDisappear(bool animated)
{
    platform::NotificationCenter::defaultCenter().removeObserver(this, HCNSNotificationDashboardOrientationChanged);
    HCTableSequenceControllerHelper::viewWillDisappear(animated);
}

void HCUserSettingController::orientationDidChange()
{
    if (logoutSheet_) logoutSheet_->dismissWithClickedButtonIndex(logoutSheet_->cancelButtonIndex(), false);
}

void HCUserSettingController::logout()
{
    HC_CHECK_MAIN_THREAD();
    if (logoutSheet_) logoutSheet_->setDelegate({});
    logoutSheet_ = showSheetInTopLevelView(
        kLogoutPrompt, std::static_pointer_cast<HCUserSettingController>(platform::self(this)), "Cancel", "Logout",
        view());
}

void HCUserSettingController::_logoutNow()
{
    HC_CHECK_MAIN_THREAD();
    if (auto session = Halcyon::session()) session->logoutUser();
    Halcyon::dismissDashboard();
}

void HCUserSettingController::actionSheetDidDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int buttonIndex)
{
    HC_CHECK_MAIN_THREAD();
    const bool confirmed = buttonIndex == sheet.destructiveButtonIndex();
    sheet.setDelegate({});
    if (&sheet == logoutSheet_.get()) logoutSheet_ = nullptr;
    if (confirmed) _logoutNow();
}
