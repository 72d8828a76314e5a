#pragma once
// The form that takes the account off this device and logs out
// ("RemoveDeviceFromAccount"). Without an e-mail login the account could
// never be had back, so each time the page comes on screen a sheet warns
// first: "Go Back" pops, "Continue" leaves the player on the page to
// submit. Once removed the player is logged out and the dashboard closes.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/Label.h"
#include "socialpages/credentials/HCAccountRemovalForm.h"

class HCRemoveDeviceFromAccountController final : public HCAccountRemovalForm {
public:
    HCRemoveDeviceFromAccountController();

    std::string getFormSubmissionUrl() override { return "users/remove_from_device.xml"; }
    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override;
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    const std::shared_ptr<platform::ui::Label>& warningText() const { return warningText_; }
    std::string kindName() const override { return "HCRemoveDeviceFromAccountController"; }

private:
    std::shared_ptr<platform::ui::Label> warningText_, titleLabel_;
    std::shared_ptr<platform::ui::Button> submitButton_;
};
