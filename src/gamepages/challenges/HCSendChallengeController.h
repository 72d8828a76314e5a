#pragma once
// The friends a challenge goes to ("SendChallenge"): the player chooses
// friends (in the order chosen) and sends the game's challenge, or, after a
// won attempt, sends the result back as a new challenge. The header is the
// send header, or after an attempt the result header. Every refresh after
// the first waits 5 seconds behind the loading screen.
//
// Nothing chosen, no connection or a refused send each show an alert and
// keep the choice; a send the provider drops takes the loading screen down.
// A send refused or dropped after the player left the page is told wherever
// he is, as nothing else would say his challenge did not go.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/runtime/RunLoop.h"
#include "uiframework/table/HCStalledRefresh.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCChallengeToUser;
class HCUser;

class HCSendChallengeController : public HCTableSequenceControllerHelper {
public:
    using Text = std::optional<std::string>;
    using DataPtr = std::shared_ptr<platform::Data>;
    static constexpr double kRefreshDelay = 5.0;

    const Text& challengeDefinitionId() const { return challengeDefinitionId_; }
    void setChallengeDefinitionId(const Text& id) { challengeDefinitionId_ = id; }
    const Text& challengeText() const { return challengeText_; }
    void setChallengeText(const Text& text) { challengeText_ = text; }
    void setHiddenText(const Text& text) { hiddenText_ = text; }
    void setChallengeData(DataPtr data) { challengeData_ = std::move(data); }
    void setResultData(DataPtr data) { resultData_ = std::move(data); }
    const std::shared_ptr<HCChallengeToUser>& userChallenge() const { return userChallenge_; }
    void setUserChallenge(std::shared_ptr<HCChallengeToUser> record) { userChallenge_ = std::move(record); }
    bool isCompleted() const { return isCompleted_; }
    void setIsCompleted(bool completed) { isCompleted_ = completed; }
    const std::vector<std::shared_ptr<HCUser>>& selectedUsers() const { return mSelectedUsers_; }

    // Chooses a listed friend, or lets a chosen one go.
    void toggleSelectionOfUser(const std::shared_ptr<HCUser>& user);
    // Chooses the user once their row is listed (at once when it is): a
    // player the list never shows, because it failed or left them out, is
    // sent nothing unseen.
    void chooseWhenListed(const std::shared_ptr<HCUser>& user);
    void submitChallenge();
    void submitChallengeBack();
    void cancel();
    // Closes the screen and asks the game to play the challenge again.
    void tryChallengeAgain();

    std::shared_ptr<HCService> getService() override;
    std::optional<std::string> getTableHeaderControllerName() override;
    void onTableHeaderCreated(const platform::ObjectPtr& header) override;
    bool usePlainTableSectionHeaders() override { return true; }
    bool canReceiveCallbacksNow() const override { return true; }
    bool shouldAlwaysShowNavBar() override { return true; }
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    void onSectionsCreated(const Sections& sections) override;
    std::string getNoDataFoundMessage() override;
    platform::ui::ViewControllerPtr getNoDataFoundViewController() override;
    void onCell(const platform::ui::TableViewCellPtr& cell, const platform::ObjectPtr& resource) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void _refreshData() override;
    void _onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental) override;

    std::string kindName() const override { return "HCSendChallengeController"; }

private:
    void send(const DataPtr& data, const Text& inResponseTo);
    void challengeSubmitted();
    bool isSelected(const HCUser& user) const;
    void chooseAwaitedIfListed();
    // The header's message, else its placeholder.
    Text getUserMessage() const;

    Text challengeDefinitionId_;
    Text challengeText_;
    Text hiddenText_;
    DataPtr challengeData_;
    DataPtr resultData_;
    std::shared_ptr<HCChallengeToUser> userChallenge_;
    bool isCompleted_ = false;
    std::vector<std::shared_ptr<HCUser>> mSelectedUsers_;
    // The player to choose once their row is listed.
    std::shared_ptr<HCUser> awaitedChoice_;
    HCStalledRefresh stall_{kRefreshDelay};
};
