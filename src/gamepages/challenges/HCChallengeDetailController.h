#pragma once
// One challenge ("ChallengeDetail"): the local player's copy in the header
// (shown at once when the opener knows it, else from the recipients'
// reply) and the players who received it below. Starting it asks a one-shot
// challenge's player to confirm and fetches the challenge's data; the game
// gets the challenge once both are done, in whichever order they end.
// Leaving the page cancels a start in progress: data that arrive later
// start nothing.
//
// In a dashboard launch, the text item after this page is the id of the
// challenge it shows.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "dashboard/HCLaunchItemFollower.h"
#include "platform/foundation/Values.h"
#include "platform/ui/AlertView.h"
#include "transport/handles/HCRequestHandle.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCChallengeToUser;

class HCChallengeDetailController : public HCTableSequenceControllerHelper,
                                    public HCLaunchItemFollower,
                                    public platform::ui::AlertViewDelegate {
public:
    using Text = std::optional<std::string>;

    const Text& challengeId() const { return challengeId_; }
    void setChallengeId(const Text& id) { challengeId_ = id; }
    void setClientApplicationId(const Text& id) { clientApplicationId_ = id; }
    const std::shared_ptr<HCChallengeToUser>& userChallenge() const { return userChallenge_; }
    // Shown in the header at once when it is loaded, else when it loads.
    void setUserChallenge(const std::shared_ptr<HCChallengeToUser>& record);
    // The list type the page was opened from and whether the challenge was
    // completed there; kept for a game's own header.
    void setList(int list) { list_ = list; }
    int list() const { return list_; }
    void setChallengeCompleted(bool completed) { challengeCompleted_ = completed; }
    bool challengeCompleted() const { return challengeCompleted_; }

    // The header's start button.
    void acceptChallenge();

    std::shared_ptr<HCService> getService() override;
    std::optional<std::string> getTableHeaderControllerName() override;
    bool usePlainTableSectionHeaders() override { return true; }
    bool canReceiveCallbacksNow() const override { return true; }
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override;
    void onSectionsCreated(const Sections& sections) override;
    std::string getNoDataFoundMessage() override;
    // A recipient's row opens that player's profile.
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    void alertViewWillDismissWithButtonIndex(platform::ui::AlertView& alertView, int buttonIndex) override;
    platform::ui::ViewControllerPtr controllerForFollowingLaunchItem(const std::string& challengeId) override;

    std::string kindName() const override { return "HCChallengeDetailController"; }

private:
    void _challengeDataDownloaded(const std::shared_ptr<platform::Data>& data);
    void startChallenge();
    // Ends a start in progress without starting: no alert reaches the page,
    // no data is kept, a reply still on its way counts for nothing.
    void cancelStart();
    // The download's part of cancelStart: the one-shot alert stays as it is.
    void endDownload();
    void dropOneShotAlert();
    bool usesChallengeData() const;

    Text challengeId_;
    Text clientApplicationId_;
    std::shared_ptr<HCChallengeToUser> userChallenge_;
    int list_ = 0;
    bool challengeCompleted_ = false;
    std::shared_ptr<platform::ui::AlertView> oneShotAlertView_;
    std::shared_ptr<platform::Data> challengeData_;
    bool dataArrived_ = false;
    // Bumped by every start and cancel: only the latest start's download counts.
    unsigned startGeneration_ = 0;
    HCRequestHandlePtr download_;
};
