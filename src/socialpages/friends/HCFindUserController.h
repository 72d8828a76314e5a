#pragma once
// Finding players by name ("FindUser", with the search bar "FindUserHeader"):
// nothing loads until the player searches; each search asks for the name
// from the first page.
//
// Thread: main thread.
#include <optional>
#include <string>

#include "platform/ui/SearchBar.h"
#include "uiframework/table/HCTableControllerHeader.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCFindUserHeaderController final : public platform::ui::ViewController, public HCTableControllerHeader {
public:
    const std::shared_ptr<platform::ui::SearchBar>& searchBar() const { return searchBar_; }
    void loadView() override;
    void resizeView(const platform::ui::ViewPtr& pageView) override;
    std::string kindName() const override { return "HCFindUserHeaderController"; }

private:
    std::shared_ptr<platform::ui::SearchBar> searchBar_ =
        platform::ui::SearchBar::make(platform::ui::Rect(0, 0, 320, platform::ui::SearchBar::kHeight));
};

class HCFindUserController : public HCTableSequenceControllerHelper, public platform::ui::SearchBarDelegate {
public:
    std::shared_ptr<HCService> getService() override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::optional<std::string> getTableHeaderControllerName() override { return "FindUserHeader"; }
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    std::string getNoDataFoundMessage() override { return "No user with that name was found."; }
    std::string getDataNotLoadedYetMessage() override { return "Search for friends by their Halcyon name."; }
    bool autoLoadData() override { return false; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;

    void searchBarSearchButtonClicked(platform::ui::SearchBar& bar) override;

    std::string kindName() const override { return "HCFindUserController"; }

private:
    std::optional<std::string> currentName_;
};
