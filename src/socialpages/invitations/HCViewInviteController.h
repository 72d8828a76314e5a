#pragma once
// One received invitation as the service's web page shows it ("ViewInvite").
// The page's "ignoreInvite" action leaves it; the invitation list below, if
// that is what lies below, reloads when it reappears.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "dashboard/HCWebViewController.h"

class HCViewInviteController : public HCWebViewController {
public:
    HCViewInviteController();
    static std::shared_ptr<HCViewInviteController> viewInviteControllerWithInviteId(
        const std::optional<std::string>& inviteId);

    const std::optional<std::string>& resourceId() const { return resourceId_; }
    std::string getTitle() override { return "Invitation"; }
    std::string getAction() override;
    std::map<std::string, std::string> getDispatchDictionary() override;
    bool _webActionIgnoreInvite(const std::vector<std::string>& arguments);
    std::string kindName() const override { return "HCViewInviteController"; }

private:
    std::optional<std::string> resourceId_;
};
