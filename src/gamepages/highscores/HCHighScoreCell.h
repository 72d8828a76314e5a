#pragma once
// A score row of the score page: "rank. name" (or "Not Ranked" for a player
// with no score yet), the score, and how far away it was posted; offline,
// the player's own stored scores. A row merged from Game Center shows the
// Game Center picture and the player's Game Center name, looked up when the
// row does not carry it ("Loading..." meanwhile, "Loading Error" when the
// look-up fails); such a row opens nothing.
//
// A score with data attached for the game shows a download button (not for
// a score of another game: that data means nothing to the running game);
// the button asks the owning score page to fetch it. Offline a row lights
// up under no tap: it opens nothing.
//
// Thread: main thread.
#include <memory>

#include "scores/highscores/HCHighScore.h"

#include "core/images/HCImageView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"
#include "uiframework/widgets/HCUserRelationshipIndicator.h"

class HCHighScoreCell : public HCTableCellHelper {
public:
    static constexpr double kHeight = 54;
    static constexpr const char* kLoadingText = "Loading...";
    static constexpr const char* kLoadingErrorText = "Loading Error";
    // Miles to kilometres.
    static constexpr double kKilometresPerMile = 1.6093444978925633;
    HCHighScoreCell();

    const std::shared_ptr<platform::ui::Label>& nameLabel() const { return nameLabel_; }
    const std::shared_ptr<platform::ui::Label>& distLabel() const { return distLabel_; }
    const std::shared_ptr<platform::ui::Label>& scoreLabel() const { return scoreLabel_; }
    const std::shared_ptr<platform::ui::Button>& downloadBlobButton() const { return downloadBlobButton_; }

    // The download button's action.
    void downloadBlobClicked();

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCHighScoreCell"; }

    // "%.2f miles away" with the distance-unit option 2, else in kilometres;
    // empty for a distance of 0.
    static std::string distanceText(double miles, long distanceUnit);

private:
    void showGameCenterScore(const std::shared_ptr<HCHighScore>& score);
    void layOut(bool withDistance);
    void showDownloadButtonFor(const HCHighScore& score);
    bool showsAnotherGame() const;

    std::shared_ptr<HCImageView> profilePictureView_;
    std::shared_ptr<platform::ui::Label> nameLabel_;
    std::shared_ptr<platform::ui::Label> distLabel_;
    std::shared_ptr<platform::ui::Label> scoreLabel_;
    std::shared_ptr<platform::ui::ImageView> disclosureIndicator_;
    std::shared_ptr<platform::ui::Button> downloadBlobButton_;
    std::shared_ptr<HCUserRelationshipIndicator> relationshipIndicator_;
};
