#pragma once
// The base of the account set-up forms (a network's log-in, the e-mail and
// password credential). Shown from the player's own pages with
// setAddingAdditionalCredential YES, a form links the credential to the
// logged-in account instead of logging in with it.
//
// Thread: main thread.
#include "uiframework/form/HCFormControllerHelper.h"

class HCAccountSetupBaseController : public HCFormControllerHelper {
public:
    bool addingAdditionalCredential() const { return addingAdditionalCredential_; }
    void setAddingAdditionalCredential(bool adding) { addingAdditionalCredential_ = adding; }

    std::string kindName() const override { return "HCAccountSetupBaseController"; }

private:
    bool addingAdditionalCredential_ = false;
};
