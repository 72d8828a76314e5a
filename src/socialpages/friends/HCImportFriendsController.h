#pragma once
// The import page ("ImportFriends"): import friends from Twitter or
// Facebook, or find a player by name. Its importer pushes results on this
// page's navigation controller, or on the controller given by setController
// (the friends page that shows this page as its empty view).
//
// Thread: main thread.
#include <memory>

#include "socialpages/friends/HCFriendImporter.h"
#include "uiframework/HCViewController.h"

class HCImportFriendsController : public HCViewController {
public:
    ~HCImportFriendsController() override;

    void setController(const platform::ui::ViewControllerPtr& controller);
    void viewDidLoad() override;

    void onImportFromTwitter() { importer()->importFromTwitter(); }
    void onImportFromFacebook() { importer()->importFromFacebook(); }
    void onFindByName() { importer()->findByName(); }

    std::string kindName() const override { return "HCImportFriendsController"; }

private:
    const std::shared_ptr<HCFriendImporter>& importer();

    std::shared_ptr<HCFriendImporter> importer_;
};
