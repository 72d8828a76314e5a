#include "socialpages/friends/HCFullScreenImportFriendsMessage.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "socialpages/HCPageActions.h"
#include "uiframework/HCControllerLoader.h"

namespace {

using platform::ui::Rect;

// "A", "A or B", "A, B, or C".
std::string networkNames(const std::vector<std::shared_ptr<HCUsersCredential>>& credentials)
{
    std::vector<std::string> names;
    // A type this client cannot name is left out rather than shown as a blank.
    for (const auto& credential : credentials)
        if (auto name = HCUsersCredential::getDisplayNameForCredentialType(credential ? credential->credentialType()
                                                                                      : std::nullopt))
            names.push_back(*name);
    if (names.empty()) return "your social networks";
    if (names.size() >= 2) names.back() = "or " + names.back();
    const std::string separator = names.size() == 2 ? " " : ", ";
    std::string joined;
    for (const auto& name : names) joined += (joined.empty() ? "" : separator) + name;
    return joined;
}

}  // namespace

HCFullScreenImportFriendsMessage::HCFullScreenImportFriendsMessage()
    : messageLabel_(platform::ui::Label::make(Rect(20, 20, 280, 120))),
      importButton_(platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect))
{
    importButton_->setFrame(Rect(60, 160, 200, 40));
    importButton_->setTitle("Import Friends", platform::ui::ControlStateNormal);
}

void HCFullScreenImportFriendsMessage::viewDidLoad()
{
    HCViewController::viewDidLoad();
    view()->addSubview(messageLabel_);
    view()->addSubview(importButton_);
    wirePageAction<HCFullScreenImportFriendsMessage>(importButton_, this,
                                                     &HCFullScreenImportFriendsMessage::onImportFriendsPressed);
}

void HCFullScreenImportFriendsMessage::setMissingCredentials(
    const std::vector<std::shared_ptr<HCUsersCredential>>& credentials, const std::string& notice)
{
    HC_CHECK_MAIN_THREAD();
    messageLabel_->setText(notice + (notice.empty() ? "" : " ") + "Import your friends from " +
                           networkNames(credentials) +
                           " to see what Halcyon games they're playing, compare progress, and more.");
}

void HCFullScreenImportFriendsMessage::onImportFriendsPressed()
{
    HC_CHECK_MAIN_THREAD();
    auto owner = owner_.lock();
    auto navigation = owner ? owner->navigationController() : nullptr;
    auto page = HCControllerLoader::load("ImportFriends");
    if (navigation && page) navigation->pushViewController(page, true);
}
