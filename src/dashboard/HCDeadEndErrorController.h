#pragma once
// A page that shows one error message and leads nowhere: pushed over the
// page that failed. The form with the offline button lets the player go on
// with the dashboard's offline content.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "uiframework/HCViewController.h"

class HCDeadEndErrorController : public HCViewController {
public:
    static constexpr const char* kOfflineButtonTitle = "Continue Offline";

    static std::shared_ptr<HCDeadEndErrorController> deadEndErrorWithMessage(const std::string& message);
    static std::shared_ptr<HCDeadEndErrorController> deadEndErrorWithMessageAndOfflineButton(const std::string& message);

    void setMessage(const std::string& message);
    const std::string& message() const { return message_; }
    bool hasOfflineButton() const { return offlineButton_; }

    void loadView() override;
    std::string kindName() const override { return "HCDeadEndErrorController"; }

private:
    std::string message_;
    bool offlineButton_ = false;
    std::shared_ptr<platform::ui::Label> messageLabel_;
};
