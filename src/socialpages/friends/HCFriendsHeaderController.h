#pragma once
// The friends page's tabs ("FriendsHeader"): "Friends" and "Pending", the
// latter with the pending requests' badge; it knows whether it shows the
// local player's lists.
//
// Thread: main thread.
#include "uiframework/HCTabbedPageHeaderController.h"
#include "uiframework/table/HCTableControllerHeader.h"

class HCFriendsHeaderController final : public HCTabbedPageHeaderController, public HCTableControllerHeader {
public:
    static constexpr const char* kFriendsTab = "Friends";
    static constexpr const char* kPendingTab = "Pending";

    void setIsDisplayingForLocalUser(bool forLocalUser) { isForLocalUser_ = forLocalUser; }
    bool isForLocalUser() const { return isForLocalUser_; }
    void resizeView(const platform::ui::ViewPtr& pageView) override;

    std::string kindName() const override { return "HCFriendsHeaderController"; }

private:
    bool isForLocalUser_ = false;
};
