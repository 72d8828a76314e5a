#pragma once
// Finds the player's friends on a linked network, or by name. Importing
// from a network first asks which networks the account has linked: with
// the one asked for (its type matched exactly) the service is told to
// import its friends and a message page says so; without it the network's
// login page is pushed, to link it first. Results are pushed on the
// controller's navigation controller; the controller is not retained, and
// once it is gone (controllerDealloced) every reply is dropped.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/runtime/Object.h"
#include "platform/ui/ViewController.h"

class HCFriendImporter final : public platform::Object, public HCCallbackable {
public:
    static constexpr const char* kFailedMessage =
        "An error occured when trying to import your friends. Please try again later.";

    static std::shared_ptr<HCFriendImporter> friendImporterWithController(
        const platform::ui::ViewControllerPtr& controller);

    void importFromTwitter();
    void importFromFacebook();
    void findByName();
    void controllerDealloced() { controller_.reset(); }
    void setController(const platform::ui::ViewControllerPtr& controller) { controller_ = controller; }

    // Replies.
    void onUsersCredentialsDownloaded(std::shared_ptr<HCPaginatedSeries> series);
    void importFriendsSucceeded(std::shared_ptr<platform::Object> reply);
    void importFriendsFailed(std::shared_ptr<platform::Object> failure);

    bool canReceiveCallbacksNow() const override { return true; }

private:
    // This importer, for the delegates of its requests (a request dropped
    // unanswered ends in importFriendsFailed).
    std::shared_ptr<HCFriendImporter> me();
    void importFromSocialNetwork();
    void setLoading(bool loading);
    void pushCompleteControllerWithMessage(const std::string& message, const std::string& title);
    void push(const platform::ui::ViewControllerPtr& page);

    std::weak_ptr<platform::ui::ViewController> controller_;
    std::string importCompleteMessage_;
    std::string credentialType_;
    std::string linkCredentialControllerName_;
};
