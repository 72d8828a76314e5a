#include "socialpages/announcements/HCApplicationDescriptionController.h"

#include "platform/runtime/ThreadChecker.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCApplicationDescriptionController> HCApplicationDescriptionController::applicationDescriptionForId(
    const std::optional<std::string>& resourceId, const std::optional<std::string>& appBannerPlacement)
{
    HC_CHECK_MAIN_THREAD();
    auto page = HCControllerLoader::load<HCApplicationDescriptionController>("ApplicationDescription");
    if (!page) return nullptr;
    page->setResourceId(resourceId);
    page->setAppBannerPlacement(appBannerPlacement);
    return page;
}

std::string HCApplicationDescriptionController::getAction()
{
    return "client_applications/" + resourceId_.value_or("") + "/application_descriptions.iphone";
}

std::vector<std::pair<std::string, std::string>> HCApplicationDescriptionController::getParameters()
{
    if (!appBannerPlacement_) return {};
    return {{"app_banner_placement", *appBannerPlacement_}};
}
