#include "socialpages/invitations/HCViewInviteController.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/invitations/HCInvitationsController.h"
#include "uiframework/HCControllerLoader.h"

HCViewInviteController::HCViewInviteController()
{
    registerWebOperation("_webActionIgnoreInvite:",
                         [this](const std::vector<std::string>& arguments) { return _webActionIgnoreInvite(arguments); });
}

std::shared_ptr<HCViewInviteController> HCViewInviteController::viewInviteControllerWithInviteId(
    const std::optional<std::string>& inviteId)
{
    auto page = HCControllerLoader::load<HCViewInviteController>("ViewInvite");
    if (page) page->resourceId_ = inviteId;
    return page;
}

std::string HCViewInviteController::getAction()
{
    return "client_webviews/invites/" + resourceId_.value_or("");
}

std::map<std::string, std::string> HCViewInviteController::getDispatchDictionary()
{
    auto table = HCWebViewController::getDispatchDictionary();
    table["ignoreInvite"] = "_webActionIgnoreInvite:";
    return table;
}

bool HCViewInviteController::_webActionIgnoreInvite(const std::vector<std::string>&)
{
    HC_CHECK_MAIN_THREAD();
    auto navigation = navigationController();
    if (!navigation) return true;
    auto self = platform::self(this);
    if (auto list = std::dynamic_pointer_cast<HCInvitationsController>(navigation->previousViewController(self)))
        list->notifyInviteIgnored(resourceId_);
    navigation->popViewController(true);
    return true;
}
