#include "socialpages/friends/HCFindUserController.h"

#include "core/users/HCUser.h"
#include "core/users/HCUserService.h"
#include "platform/runtime/ThreadChecker.h"
#include "socialpages/profile/HCProfileController.h"

void HCFindUserHeaderController::loadView()
{
    auto row = platform::ui::View::make(searchBar_->frame());
    row->addSubview(searchBar_);
    setView(row);
}

void HCFindUserHeaderController::resizeView(const platform::ui::ViewPtr& pageView)
{
    const double width = pageView->bounds().width();
    auto bar = searchBar_->frame();
    bar.size.width = width;
    searchBar_->setFrame(bar);
    view()->setFrame(platform::ui::Rect(0, 0, width, bar.origin.y + bar.size.height));
}

std::shared_ptr<HCService> HCFindUserController::getService()
{
    return HCUserService::sharedInstance();
}

void HCFindUserController::doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCUserService::findUsersByName(currentName_.value_or(""), page, onSuccess, onFailure);
}

void HCFindUserController::populateResourceMap(HCResourceControllerMap& map)
{
    map.addResourceClass<HCUser>("User");
}

void HCFindUserController::onTableHeaderCreated(const platform::ObjectPtr& header)
{
    if (auto search = std::dynamic_pointer_cast<HCFindUserHeaderController>(header)) {
        std::shared_ptr<platform::ui::SearchBarDelegate> delegate = platform::self(this);
        search->searchBar()->setDelegate(delegate);
    }
}

void HCFindUserController::searchBarSearchButtonClicked(platform::ui::SearchBar& bar)
{
    HC_CHECK_MAIN_THREAD();
    bar.resignFirstResponder();
    currentName_ = bar.text();
    reloadDataFromServer();
}

void HCFindUserController::onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath&)
{
    if (auto user = platform::as<HCUser>(resource)) HCProfileController::showProfileForUser(user);
}
