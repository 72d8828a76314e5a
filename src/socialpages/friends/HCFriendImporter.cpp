#include "socialpages/friends/HCFriendImporter.h"

#include "accounts/HCAccountSetupBaseController.h"
#include "core/replies/HCTableSectionDescription.h"
#include "dashboard/HCShowMessageAndReturnController.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "social/users/HCUsersCredential.h"
#include "social/users/HCUsersCredentialService.h"
#include "uiframework/HCControllerLoader.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/HCViewController.h"

std::shared_ptr<HCFriendImporter> HCFriendImporter::friendImporterWithController(
    const platform::ui::ViewControllerPtr& controller)
{
    auto importer = std::make_shared<HCFriendImporter>();
    importer->controller_ = controller;
    return importer;
}

void HCFriendImporter::importFromTwitter()
{
    credentialType_ = "twitter";
    linkCredentialControllerName_ = "TwitterAccountLogin";
    importFromSocialNetwork();
}

void HCFriendImporter::importFromFacebook()
{
    credentialType_ = "fbconnect";
    linkCredentialControllerName_ = "FacebookAccountLogin";
    importFromSocialNetwork();
}

std::shared_ptr<HCFriendImporter> HCFriendImporter::me()
{
    return std::static_pointer_cast<HCFriendImporter>(platform::self(this));
}

void HCFriendImporter::setLoading(bool loading)
{
    auto page = std::dynamic_pointer_cast<HCViewController>(controller_.lock());
    if (!page) return;
    if (loading) {
        page->showLoadingScreen();
    } else {
        page->hideLoadingScreen();
    }
}

void HCFriendImporter::importFromSocialNetwork()
{
    HC_CHECK_MAIN_THREAD();
    setLoading(true);
    auto [loaded, failed] = pageRequestDelegates<HCFriendImporter>(
        me(), [](auto& importer, const auto& reply) {
            importer.onUsersCredentialsDownloaded(platform::as<HCPaginatedSeries>(reply));
        },
        [](auto& importer, const auto& failure) { importer.importFriendsFailed(failure); });
    auto handle = HCUsersCredentialService::getIndexOnSuccess(loaded, failed, true);
    // A service that is not running calls nothing back.
    if (!handle) setLoading(false);
}

void HCFriendImporter::onUsersCredentialsDownloaded(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    if (!controller_.lock()) return;
    bool linked = false;
    for (const auto& object : series ? series->objects() : HCPaginatedSeries::Objects{}) {
        auto section = platform::as<HCTableSectionDescription>(object);
        if (!section || !section->page()) continue;
        for (const auto& item : section->page()->objects()) {
            auto credential = platform::as<HCUsersCredential>(item);
            linked = linked || (credential && credential->credentialType() == credentialType_);
        }
    }
    if (linked) {
        importCompleteMessage_ = "Allow some time for us to find your " +
                                 HCUsersCredential::getDisplayNameForCredentialType(credentialType_).value_or("") +
                                 " friends with Halcyon. Any matches will appear in the friends tab.";
        auto [imported, failed] = pageRequestDelegates<HCFriendImporter>(
            me(), [](auto& importer, const auto& reply) { importer.importFriendsSucceeded(reply); },
            [](auto& importer, const auto& failure) { importer.importFriendsFailed(failure); });
        auto handle = HCUsersCredentialService::importFriendsFromCredentialType(credentialType_, imported, failed);
        if (!handle) setLoading(false);
        return;
    }
    setLoading(false);
    // The loader logs a login page it cannot make; nothing is pushed then.
    auto form = HCControllerLoader::load(linkCredentialControllerName_);
    // The player is logged in: the network is linked to this account, not logged in with.
    if (auto setup = std::dynamic_pointer_cast<HCAccountSetupBaseController>(form)) {
        setup->setAddingAdditionalCredential(true);
    }
    push(form);
}

void HCFriendImporter::importFriendsSucceeded(std::shared_ptr<platform::Object>)
{
    if (!controller_.lock()) return;
    setLoading(false);
    pushCompleteControllerWithMessage(importCompleteMessage_, "Finding Friends");
}

void HCFriendImporter::importFriendsFailed(std::shared_ptr<platform::Object>)
{
    auto controller = controller_.lock();
    if (!controller) return;
    setLoading(false);
    // A player who left the page that asked is not sent back to an error.
    if (pageIsShown(*controller)) pushCompleteControllerWithMessage(kFailedMessage, "Error");
}

void HCFriendImporter::pushCompleteControllerWithMessage(const std::string& message, const std::string& title)
{
    HC_CHECK_MAIN_THREAD();
    auto controller = controller_.lock();
    auto navigation = controller ? controller->navigationController() : nullptr;
    auto page = HCControllerLoader::load<HCShowMessageAndReturnController>("ShowMessageAndReturn");
    if (!page || !navigation) return;
    page->messageLabel()->setText(message);
    page->messageTitleLabel()->setText("Find Friends");
    page->setTitle(title);
    for (unsigned state : {platform::ui::ControlStateNormal, platform::ui::ControlStateHighlighted,
                           platform::ui::ControlStateSelected, platform::ui::ControlStateDisabled})
        page->continueButton()->setTitle("OK", state);
    const auto& stack = navigation->viewControllers();
    if (stack.size() >= 2) page->setControllerToPopTo(stack[stack.size() - 2]);
    navigation->pushViewController(page, true);
}

void HCFriendImporter::findByName()
{
    HC_CHECK_MAIN_THREAD();
    auto page = HCControllerLoader::load("FindUser");
    if (page) page->setTitle("Find User");
    push(page);
}

void HCFriendImporter::push(const platform::ui::ViewControllerPtr& page)
{
    auto controller = controller_.lock();
    auto navigation = controller ? controller->navigationController() : nullptr;
    if (page && navigation) navigation->pushViewController(page, true);
}
