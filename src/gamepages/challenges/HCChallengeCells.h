#pragma once
// The rows of the challenge pages, each filling subviews found by tag (a
// game's own cell may lay them out differently):
// - "ChallengeToUser": a received or sent record of the lists: status icon
//   (5: result, or new for an unviewed one from another player), sent mark
//   (1), title (2), message (3), the other player (8 and picture 4). The
//   list, not the cell, takes a new record off the unviewed count.
// - "ChallengeSent": a challenge the player sent: icon (1), title (2), text (3).
// - "ChallengeDetail": one recipient: name (2), result (5), tries (7),
//   picture (1), result icon (4).
// - "ChallengeDefinitionStats": a challenge type with its counts, and with
//   a compared player the winner marked.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

// The cells with tagged subviews.
class HCChallengeTaggedCell : public HCTableCellHelper {
public:
    bool hasConstantHeight() const override { return true; }

protected:
    HCChallengeTaggedCell();
    std::shared_ptr<platform::ui::Label> labelTagged(int tag);
    std::shared_ptr<HCImageView> pictureTagged(int tag);
};

class HCChallengeToUserCell : public HCChallengeTaggedCell {
public:
    HCChallengeToUserCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    std::string kindName() const override { return "HCChallengeToUserCell"; }
};

class HCChallengeSentCell : public HCChallengeTaggedCell {
public:
    HCChallengeSentCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    std::string kindName() const override { return "HCChallengeSentCell"; }
};

class HCChallengeDetailCell : public HCChallengeTaggedCell {
public:
    HCChallengeDetailCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    std::string kindName() const override { return "HCChallengeDetailCell"; }
};

class HCChallengeDefinitionStatsCell : public HCTableCellHelper {
public:
    HCChallengeDefinitionStatsCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCChallengeDefinitionStatsCell"; }

private:
    // Marks the column of `header` and `number` as the winner's.
    void markWinner(const std::shared_ptr<platform::ui::Label>& header,
                    const std::shared_ptr<platform::ui::Label>& number);

    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<HCImageView> challengeIcon_;
    std::shared_ptr<platform::ui::Label> winsHeader_;
    std::shared_ptr<platform::ui::Label> winsLabel_;
    std::shared_ptr<platform::ui::Label> lossesOrComparisonHeader_;
    std::shared_ptr<platform::ui::Label> lossesOrComparisonLabel_;
    std::shared_ptr<platform::ui::Label> tiesHeader_;
    std::shared_ptr<platform::ui::Label> tiesLabel_;
    std::shared_ptr<HCImageView> winnerIcon_;
};
