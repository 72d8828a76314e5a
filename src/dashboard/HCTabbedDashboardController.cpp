#include "dashboard/HCTabbedDashboardController.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HCFramedNavigationController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCViewController.h"

namespace {

const bool tabbedDashboardControllerRegistered = (platform::registerClass<HCTabbedDashboardController>("HCTabbedDashboardController"), true);

std::optional<std::string> textIn(const std::shared_ptr<platform::Dictionary>& dictionary, const char* key)
{
    auto text = dictionary ? std::dynamic_pointer_cast<platform::String>(dictionary->objectForKey(key)) : nullptr;
    if (!text || text->value().empty()) {
        return std::nullopt;
    }
    return text->value();
}

}  // namespace

HCTabbedDashboardController::HCTabbedDashboardController()
{
    readTabs();
}

void HCTabbedDashboardController::readTabs()
{
    auto path = platform::Bundle::mainBundle()->pathForResource(kTabsResource, kTabsResourceType);
    auto list = path ? std::dynamic_pointer_cast<platform::Dictionary>(platform::PropertyListReader::readFile(*path))
                     : nullptr;
    if (!list) {
        platform::log(platform::LogLevel::Warning, "The dashboard has no readable tab list; it shows no tabs.");
        return;
    }
    if (auto entries = std::dynamic_pointer_cast<platform::Array>(list->objectForKey("tabs"))) {
        for (const auto& entry : entries->items()) {
            auto tab = std::dynamic_pointer_cast<platform::Dictionary>(entry);
            auto name = textIn(tab, "name");
            if (!name) {
                continue;
            }
            tabs_.push_back(Tab{*name, textIn(tab, "title").value_or(*name), textIn(tab, "page").value_or(*name),
                                textIn(tab, "offlinePage")});
        }
    }
    defaultTab_ = textIn(list, "defaultTab").value_or(tabs_.empty() ? std::string() : tabs_.front().name);
    offlineTab_ = textIn(list, "offlineTab").value_or(defaultTab_);
}

platform::ui::ViewControllerPtr HCTabbedDashboardController::makePage(const std::string& name,
                                                                     const std::string& title) const
{
    // Every tab's page exists: a name the loader has no page for is a mistake
    // in the tab list. The tab still shows, empty, under its title.
    auto page = HCControllerLoader::hasController(name) ? HCControllerLoader::load(name) : nullptr;
    if (page) return page;
    platform::log(platform::LogLevel::Warning, "The dashboard has no page \"" + name + "\": its \"" + title +
                                                   "\" tab shows an empty page.");
    auto empty = std::make_shared<HCViewController>();
    empty->setTitle(title);
    return empty;
}

void HCTabbedDashboardController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTabBarController::viewDidLoad();
    offline_ = !Halcyon::isOnline();
    std::vector<HCTabBarItemPtr> items;
    for (const Tab& tab : tabs_) {
        const std::string& page = offline_ && tab.offlinePage ? *tab.offlinePage : tab.page;
        auto navigation = HCFramedNavigationController::withRootViewController(makePage(page, tab.title));
        navigation->setTitle(tab.title);
        items.push_back(HCTabBarItem::make(tab.name, navigation));
    }
    setTabBarItems(std::move(items));
}

void HCTabbedDashboardController::showMode(bool offline)
{
    HC_CHECK_MAIN_THREAD();
    if (offline == offline_ || !isViewLoaded()) {
        offline_ = offline;
        return;
    }
    offline_ = offline;
    for (const Tab& tab : tabs_) {
        if (!tab.offlinePage) {
            continue;
        }
        auto item = tabBarItemNamed(tab.name);
        auto navigation = item ? std::dynamic_pointer_cast<platform::ui::NavigationController>(item->viewController())
                               : nullptr;
        if (navigation) {
            navigation->setViewControllers({makePage(offline ? *tab.offlinePage : tab.page, tab.title)}, false);
        }
    }
}

void HCTabbedDashboardController::setOnlineMode(const std::shared_ptr<HCTabbedDashboardController>& dashboard)
{
    if (dashboard) {
        dashboard->showMode(false);
    }
}

void HCTabbedDashboardController::setOfflineMode(const std::shared_ptr<HCTabbedDashboardController>& dashboard)
{
    if (dashboard) {
        dashboard->showMode(true);
    }
}
