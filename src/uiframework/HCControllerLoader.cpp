#include "uiframework/HCControllerLoader.h"

#include "platform/foundation/Log.h"
#include "platform/runtime/ClassRegistry.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/Screen.h"
#include "uiframework/table/HCTableCellHelper.h"

namespace {

constexpr const char* kDefaultAssetFileSuffix = "Hc";
constexpr const char* kDefaultClassNamePrefix = "HC";

struct NamingRules {
    std::string assetFileSuffix = kDefaultAssetFileSuffix;
    std::string classNamePrefix = kDefaultClassNamePrefix;
    std::optional<std::string> overrideAssetFileSuffix;
    std::optional<std::string> overrideClassNamePrefix;
};

NamingRules& rules()
{
    static NamingRules instance;
    return instance;
}

// While the dashboard is shown the status bar follows the dashboard's orientation.
bool isDashboardInLandscape()
{
    return platform::ui::isLandscape(platform::ui::Application::shared()->statusBarOrientation());
}

std::vector<std::string> prefixes()
{
    std::vector<std::string> out;
    if (rules().overrideClassNamePrefix) out.push_back(*rules().overrideClassNamePrefix);
    out.push_back(rules().classNamePrefix);
    return out;
}

// The first registered class of these names, made; nil when none is registered.
platform::ObjectPtr createFirstRegistered(const std::vector<std::string>& classNames)
{
    for (const auto& className : classNames) {
        if (platform::ClassRegistry::isRegistered(className)) return platform::ClassRegistry::create(className);
    }
    return nullptr;
}

// The first top-level object of class T in the nib found for `name`.
template <class T>
std::shared_ptr<T> firstInNib(const std::string& name, const platform::ObjectPtr& owner)
{
    auto nib = HCControllerLoader::findNibName(name);
    if (!nib) return nullptr;
    auto objects = platform::ui::NibRegistry::loadNibNamed(*nib, owner);
    if (!objects) return nullptr;
    for (const auto& object : objects->items()) {
        if (auto typed = std::dynamic_pointer_cast<T>(object)) return typed;
    }
    return nullptr;
}

}  // namespace

void HCControllerLoader::setAssetFileSuffix(std::string suffix)
{
    HC_CHECK_MAIN_THREAD();
    rules().assetFileSuffix = std::move(suffix);
}

void HCControllerLoader::setClassNamePrefix(std::string prefix)
{
    HC_CHECK_MAIN_THREAD();
    rules().classNamePrefix = std::move(prefix);
}

void HCControllerLoader::setOverrideAssetFileSuffix(std::optional<std::string> suffix)
{
    HC_CHECK_MAIN_THREAD();
    rules().overrideAssetFileSuffix = std::move(suffix);
}

void HCControllerLoader::setOverrideClassNamePrefix(std::optional<std::string> prefix)
{
    HC_CHECK_MAIN_THREAD();
    rules().overrideClassNamePrefix = std::move(prefix);
}

void HCControllerLoader::resetNamingRules()
{
    HC_CHECK_MAIN_THREAD();
    rules() = NamingRules();
}

std::vector<std::string> HCControllerLoader::nibNameCandidates(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    std::vector<std::string> variants;
    if (platform::ui::Screen::mainScreen()->isLarge()) variants.emplace_back(kLargeScreenVariant);
    if (isDashboardInLandscape()) variants.emplace_back(kLandscapeVariant);
    variants.emplace_back();

    std::vector<std::string> out;
    for (const auto& variant : variants) {
        if (rules().overrideAssetFileSuffix) out.push_back(name + variant + *rules().overrideAssetFileSuffix);
        out.push_back(name + variant + rules().assetFileSuffix);
    }
    return out;
}

std::optional<std::string> HCControllerLoader::findNibName(const std::string& name)
{
    for (const auto& candidate : nibNameCandidates(name)) {
        if (platform::ui::NibRegistry::exists(candidate)) return candidate;
    }
    return std::nullopt;
}

std::vector<std::string> HCControllerLoader::controllerClassNames(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    std::vector<std::string> out;
    for (const auto& prefix : prefixes()) out.push_back(prefix + name + "Controller");
    return out;
}

bool HCControllerLoader::hasController(const std::string& name)
{
    HC_CHECK_MAIN_THREAD();
    for (const auto& className : controllerClassNames(name)) {
        if (platform::ClassRegistry::isRegistered(className)) return true;
    }
    return findNibName(name).has_value();
}

platform::ui::ViewControllerPtr HCControllerLoader::load(const std::string& name, const platform::ObjectPtr& owner)
{
    HC_CHECK_MAIN_THREAD();
    const auto classNames = controllerClassNames(name);
    if (auto object = createFirstRegistered(classNames)) {
        auto controller = std::dynamic_pointer_cast<platform::ui::ViewController>(object);
        if (!controller) {
            platform::log(platform::LogLevel::Error, "The class for \"" + name + "\" is not a controller.");
            return nullptr;
        }
        if (auto nib = findNibName(name)) controller->setNibName(*nib);
        return controller;
    }
    if (auto controller = firstInNib<platform::ui::ViewController>(name, owner)) return controller;
    platform::log(platform::LogLevel::Error, "No controller class " + classNames.back() + " nor nib for \"" + name + "\".");
    return nullptr;
}

platform::ui::ViewPtr HCControllerLoader::loadView(const std::string& name, const platform::ObjectPtr& owner)
{
    HC_CHECK_MAIN_THREAD();
    return firstInNib<platform::ui::View>(name, owner);
}

platform::ui::TableViewCellPtr HCControllerLoader::loadCell(const std::string& name, const platform::ObjectPtr& owner)
{
    HC_CHECK_MAIN_THREAD();
    const std::string cellName = name + "Cell";
    auto cell = firstInNib<platform::ui::TableViewCell>(cellName, owner);
    if (!cell) {
        std::vector<std::string> classNames;
        for (const auto& prefix : prefixes()) classNames.push_back(prefix + cellName);
        cell = std::dynamic_pointer_cast<platform::ui::TableViewCell>(createFirstRegistered(classNames));
    }
    if (!cell) {
        platform::log(platform::LogLevel::Error, "No cell nib nor class for \"" + name + "\".");
        return nullptr;
    }
    if (auto helper = std::dynamic_pointer_cast<HCTableCellHelper>(cell)) helper->setOwner(owner);
    return cell;
}
