#include "socialpages/friends/HCImportFriendsController.h"

#include "platform/runtime/ThreadChecker.h"
#include "socialpages/HCPageActions.h"

HCImportFriendsController::~HCImportFriendsController()
{
    if (importer_) importer_->controllerDealloced();
}

const std::shared_ptr<HCFriendImporter>& HCImportFriendsController::importer()
{
    // Made at first use: the page is only shared once it exists.
    if (!importer_) importer_ = HCFriendImporter::friendImporterWithController(platform::self(this));
    return importer_;
}

void HCImportFriendsController::setController(const platform::ui::ViewControllerPtr& controller)
{
    HC_CHECK_MAIN_THREAD();
    importer()->setController(controller);
}

void HCImportFriendsController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCViewController::viewDidLoad();
    setTitle("Import Friends");
    double y = 20;
    for (auto [title, action] : {std::pair{"Import from Twitter", &HCImportFriendsController::onImportFromTwitter},
                                 std::pair{"Import from Facebook", &HCImportFriendsController::onImportFromFacebook},
                                 std::pair{"Find by Name", &HCImportFriendsController::onFindByName}}) {
        auto button = platform::ui::Button::buttonWithType(platform::ui::ButtonType::RoundedRect);
        button->setFrame(platform::ui::Rect(40, y, 240, 40));
        button->setTitle(title, platform::ui::ControlStateNormal);
        wirePageAction<HCImportFriendsController>(button, this, action);
        view()->addSubview(button);
        y += 56;
    }
}
