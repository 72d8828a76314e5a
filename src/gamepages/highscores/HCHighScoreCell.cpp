#include "gamepages/highscores/HCHighScoreCell.h"

#include <cstdio>

#include "core/halcyon/Halcyon.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "gamepages/highscores/HCHighScoreController.h"
#include "core/users/HCUser.h"
#include "platform/gamecenter/GameCenterDevice.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScore.h"

namespace {

constexpr double kScoreRight = 280;
constexpr double kGap = 10;
constexpr double kButtonSize = 24;

}  // namespace

HCHighScoreCell::HCHighScoreCell()
    : profilePictureView_(HCImageView::make(platform::ui::Rect(5, 5, 44, 44))),
      nameLabel_(platform::ui::Label::make(platform::ui::Rect(56, 0, 140, 20))),
      distLabel_(platform::ui::Label::make(platform::ui::Rect(56, 0, 140, 16))),
      scoreLabel_(platform::ui::Label::make(platform::ui::Rect(196, 0, kScoreRight - kGap - 196, kHeight))),
      disclosureIndicator_(platform::ui::ImageView::make(platform::ui::Rect(kScoreRight, 20, 14, 14))),
      downloadBlobButton_(std::make_shared<platform::ui::Button>(
          platform::ui::ButtonType::Custom,
          platform::ui::Rect(kScoreRight - kGap - kButtonSize, (kHeight - kButtonSize) / 2, kButtonSize, kButtonSize))),
      relationshipIndicator_(std::make_shared<HCUserRelationshipIndicator>(platform::ui::Rect(40, 40, 12, 12)))
{
    setFrame(platform::ui::Rect(0, 0, 320, kHeight));
    scoreLabel_->setTextAlignment(platform::ui::TextAlignment::Right);
    downloadBlobButton_->setHidden(true);
    // Offline a row opens nothing, so a tap must not light it up.
    if (!Halcyon::isOnline()) setSelectionStyle(platform::ui::TableViewCellSelectionStyle::None);
}

std::string HCHighScoreCell::distanceText(double miles, long distanceUnit)
{
    if (miles == 0) return {};
    char text[64];
    if (distanceUnit == 2) {
        std::snprintf(text, sizeof text, "%.2f miles away", miles);
    } else {
        std::snprintf(text, sizeof text, "%.2f kms away", miles * kKilometresPerMile);
    }
    return text;
}

void HCHighScoreCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    // Not in the constructor: a view joins its parent only once it is shared.
    if (!nameLabel_->superview()) {
        for (const platform::ui::ViewPtr& view :
             std::initializer_list<platform::ui::ViewPtr>{profilePictureView_, nameLabel_, distLabel_, scoreLabel_,
                                                          disclosureIndicator_, downloadBlobButton_,
                                                          relationshipIndicator_}) {
            contentView()->addSubview(view);
        }
        std::weak_ptr<HCHighScoreCell> weakSelf = std::static_pointer_cast<HCHighScoreCell>(platform::self(this));
        downloadBlobButton_->addTarget(this, [weakSelf](platform::ui::Control&) {
            if (auto cell = weakSelf.lock()) cell->downloadBlobClicked();
        }, platform::ui::ControlEventTouchUpInside);
    }
    auto score = platform::as<HCHighScore>(resource);
    if (!score) return;
    if (score->gameCenterId()) {
        showGameCenterScore(score);
        return;
    }
    const auto& user = score->user();
    const std::string userName = user ? user->name().value_or("") : std::string();
    const std::string rank = std::to_string(score->rank());
    setUserInteractionEnabled(true);
    profilePictureView_->useProfilePictureFromUser(user);
    std::string distance;
    if (Halcyon::isOnline()) {
        if (score->rank() != -1) {
            nameLabel_->setText(rank + ". " + userName);
            scoreLabel_->setText(score->displayText());
        } else if (score->score() == 0) {
            nameLabel_->setText(userName);
            scoreLabel_->setText("Not Ranked");
        } else {
            nameLabel_->setText(score->toHighRankText() + " " + userName);
            scoreLabel_->setText(score->displayText());
        }
        distance = distanceText(score->distance(), Halcyon::userDistanceUnit());
        relationshipIndicator_->setUser(user);
        disclosureIndicator_->setHidden(false);
    } else {
        nameLabel_->setText(rank + ". " + (user ? userName : std::string("Unregistered User")));
        scoreLabel_->setText(score->displayText());
        relationshipIndicator_->setUser(nullptr);
        disclosureIndicator_->setHidden(true);
    }
    showDownloadButtonFor(*score);
    distLabel_->setText(distance);
    layOut(!distance.empty());
}

void HCHighScoreCell::showGameCenterScore(const std::shared_ptr<HCHighScore>& score)
{
    // A Game Center player has no profile here: nothing to open, nothing to relate to.
    setUserInteractionEnabled(false);
    profilePictureView_->useGameCenterProfilePicture();
    scoreLabel_->setText(score->displayText());
    distLabel_->setText("");
    disclosureIndicator_->setHidden(true);
    downloadBlobButton_->setHidden(true);
    relationshipIndicator_->setHidden(true);
    layOut(false);
    if (score->gameCenterName()) {
        nameLabel_->setText(std::to_string(score->rank()) + ". " + *score->gameCenterName());
        return;
    }
    nameLabel_->setText(kLoadingText);
    std::weak_ptr<HCHighScoreCell> weakSelf = std::static_pointer_cast<HCHighScoreCell>(platform::self(this));
    Halcyon::loadGameCenterPlayerName(
        *score->gameCenterId(),
        [weakSelf, score](const std::optional<std::string>& alias,
                          const std::optional<platform::gamecenter::Error>& error) {
            // A player Game Center does not know has no alias to show either.
            const bool known = !error && alias;
            if (known && !score->gameCenterName()) score->setGameCenterName(alias);
            auto self = weakSelf.lock();
            // The cell may show another row by now (it was reused while the name loaded).
            if (!self || self->resource() != score) return;
            self->nameLabel_->setText(known ? std::to_string(score->rank()) + ". " + *alias : kLoadingErrorText);
        });
}

void HCHighScoreCell::layOut(bool withDistance)
{
    const double height = frame().height();
    auto name = nameLabel_->frame();
    if (withDistance) {
        distLabel_->setHidden(false);
        name.origin.y = (height - name.height()) / 3;
        auto dist = distLabel_->frame();
        dist.origin.y = 2.5 / 3 * (height - dist.height());
        distLabel_->setFrame(dist);
    } else {
        distLabel_->setHidden(true);
        name.origin.y = (height - name.height()) / 2;
    }
    nameLabel_->setFrame(name);
    // The score ends short of the download button, the disclosure sign, or
    // the cell's edge, whichever is the first shown.
    const double right = !downloadBlobButton_->isHidden() ? downloadBlobButton_->frame().minX() - kGap
                         : !disclosureIndicator_->isHidden() ? disclosureIndicator_->frame().minX() - kGap
                                                             : frame().width() - kGap;
    auto scoreFrame = scoreLabel_->frame();
    if (scoreFrame.maxX() != right) {
        scoreFrame.size.width = std::max(0.0, right - scoreFrame.minX());
        scoreLabel_->setFrame(scoreFrame);
    }
}

bool HCHighScoreCell::showsAnotherGame() const
{
    auto page = platform::as<HCHighScoreController>(owner());
    const auto& shown = page ? page->gameProfileInfo() : nullptr;
    auto running = Halcyon::localGameProfileInfo();
    return shown && (!running || shown->resourceId() != running->resourceId());
}

void HCHighScoreCell::showDownloadButtonFor(const HCHighScore& score)
{
    // Another game's data is of no use to the game that is running.
    downloadBlobButton_->setHidden(!score.hasBlob() || showsAnotherGame());
}

void HCHighScoreCell::downloadBlobClicked()
{
    HC_CHECK_MAIN_THREAD();
    auto score = platform::as<HCHighScore>(resource());
    if (auto page = platform::as<HCHighScoreController>(owner()); page && score) page->downloadBlobForHighScore(score);
}
