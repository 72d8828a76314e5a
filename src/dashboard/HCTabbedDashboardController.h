#pragma once
// The dashboard's hub: a tab bar of framed navigation controllers, one per
// tab of the bundle's "TabBarItems.plist":
//
//   <dict>
//     <key>defaultTab</key><string>GameProfile</string>   (else the first tab)
//     <key>offlineTab</key><string>GameProfile</string>   (else the default tab)
//     <key>tabs</key><array>
//       <dict><key>name</key><string>GameProfile</string>
//             <key>title</key><string>Now Playing</string>
//             <key>page</key><string>GameProfile</string>          (loader name)
//             <key>offlinePage</key><string>...</string></dict>    (optional)
//     </array>
//   </dict>
//
// A tab whose page cannot be made keeps its place with an empty page of its
// title. In offline mode a tab with an offline page shows that page at its
// root; online mode puts the online page back.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uiframework/HCTabBarController.h"

class HCTabbedDashboardController : public HCTabBarController {
public:
    static constexpr const char* kTabsResource = "TabBarItems";
    static constexpr const char* kTabsResourceType = "plist";

    struct Tab {
        std::string name;
        std::string title;
        std::string page;
        std::optional<std::string> offlinePage;
    };

    HCTabbedDashboardController();

    const std::string& defaultTab() const { return defaultTab_; }
    const std::string& offlineTab() const { return offlineTab_; }

    static void setOnlineMode(const std::shared_ptr<HCTabbedDashboardController>& dashboard);
    static void setOfflineMode(const std::shared_ptr<HCTabbedDashboardController>& dashboard);

    void viewDidLoad() override;
    std::string kindName() const override { return "HCTabbedDashboardController"; }

private:
    void readTabs();
    void showMode(bool offline);
    platform::ui::ViewControllerPtr makePage(const std::string& name, const std::string& title) const;

    std::vector<Tab> tabs_;
    std::string defaultTab_;
    std::string offlineTab_;
    bool offline_ = false;
};
