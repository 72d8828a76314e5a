#include "socialpages/settings/HCUserSettingDelegate.h"

#include "accounts/HCAccountSetupBaseController.h"
#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "transport/presence/HCPresenceService.h"
#include "uiframework/HCControllerLoader.h"

namespace {

void pushCredentialForm(const char* name)
{
    auto navigation = HalcyonDashboard::getActiveNavigationController();
    auto page = HCControllerLoader::load(name);
    if (!navigation || !page) return;
    if (auto form = std::dynamic_pointer_cast<HCAccountSetupBaseController>(page))
        form->setAddingAdditionalCredential(true);
    navigation->pushViewController(page, true);
}

// Sharing on asks for a fresh fix (which the location manager refuses
// itself where location services are not allowed); off forgets the last one
// so nothing carries a position any more.
void shareLocation(long unit)
{
    Halcyon::setUserDistanceUnit(unit);
    if (unit == 1) {
        Halcyon::setUserLocation(nullptr);
    } else {
        Halcyon::startLocationManagerIfAllowed();
    }
}

void setPresence(bool online)
{
    auto presence = HCPresenceService::sharedInstance();
    if (!presence) return;
    if (online) {
        presence->connect();
    } else {
        presence->disconnect();
    }
}

}  // namespace

HCUserSettingDelegate::Undo HCUserSettingDelegate::settingValueToggled(const std::shared_ptr<HCUserSetting>& setting,
                                                                       bool value)
{
    HC_CHECK_MAIN_THREAD();
    if (!setting || !setting->key()) return {};
    const auto& key = *setting->key();
    if (key == "location") {
        const long before = Halcyon::userDistanceUnit();
        shareLocation(value ? 0 : 1);
        return [before] { shareLocation(before); };
    }
    if (key == "facebookstream") {
        if (value && !Halcyon::loggedInUserHasFbconnectCredential()) pushCredentialForm("FacebookAccountLogin");
        return {};
    }
    if (key == "twitterstream") {
        if (value && !Halcyon::loggedInUserHasTwitterCredential()) pushCredentialForm("TwitterAccountLogin");
        return {};
    }
    if (key == "presence") {
        setPresence(value);
        return [value] { setPresence(!value); };
    }
    if (key == "newsletter_open_halcyon" && value && !Halcyon::loggedInUserHasHttpBasicCredential()) {
        pushCredentialForm("HttpCredentialsCreate");
        platform::ui::AlertView::make("Enable Account Retrieval",
                                      "In order to subscribe, you must first enable account retrieval with an email "
                                      "address and password.",
                                      {}, std::string("OK"))
            ->show();
    }
    return {};
}
