#include "gamepages/challenges/HCChallengeCells.h"

#include <cmath>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeDefinitionStats.h"
#include "scores/challenges/HCChallengeToUser.h"

namespace {

using platform::ui::Rect;

constexpr double kCellWidth = 320.0;
constexpr double kCellHeight = 64.0;

std::string nameOf(const std::shared_ptr<HCUser>& user)
{
    return user ? user->name().value_or("") : std::string();
}

void showIcon(const std::shared_ptr<HCImageView>& view, const std::optional<std::string>& name)
{
    view->setImage(name ? HCImageLoader::loadImage(*name) : nullptr);
}

std::string titleOf(const std::shared_ptr<HCChallengeDefinition>& definition)
{
    return definition ? definition->title().value_or("") : std::string();
}

// The definition's icon (`fallback` until it is in) and title.
void showDefinition(const std::shared_ptr<HCChallengeDefinition>& definition, const std::shared_ptr<HCImageView>& icon,
                    const char* fallback, const std::shared_ptr<platform::ui::Label>& title)
{
    icon->setDefaultImage(HCImageLoader::loadImage(fallback));
    icon->setImageUrl(definition ? definition->iconUrl() : std::nullopt);
    title->setText(titleOf(definition));
}

}  // namespace

// --- tagged cells -----------------------------------------------------------------

HCChallengeTaggedCell::HCChallengeTaggedCell()
{
    setFrame(Rect(0, 0, kCellWidth, kCellHeight));
}

std::shared_ptr<platform::ui::Label> HCChallengeTaggedCell::labelTagged(int tag)
{
    if (auto found = std::dynamic_pointer_cast<platform::ui::Label>(contentView()->viewWithTag(tag))) return found;
    auto label = platform::ui::Label::make(Rect(60, 2 + 15 * (tag % 4), 250, 15));
    label->setTag(tag);
    contentView()->addSubview(label);
    return label;
}

std::shared_ptr<HCImageView> HCChallengeTaggedCell::pictureTagged(int tag)
{
    if (auto found = std::dynamic_pointer_cast<HCImageView>(contentView()->viewWithTag(tag))) return found;
    auto picture = HCImageView::make(Rect(6, 6, 48, 48));
    picture->setTag(tag);
    contentView()->addSubview(picture);
    return picture;
}

HCChallengeToUserCell::HCChallengeToUserCell() = default;

void HCChallengeToUserCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    auto record = platform::as<HCChallengeToUser>(resource);
    auto status = pictureTagged(5);
    auto sentMark = labelTagged(1);
    auto title = labelTagged(2);
    auto text = labelTagged(3);
    auto player = pictureTagged(4);
    auto from = labelTagged(8);
    auto challenge = record ? record->challenge() : nullptr;
    if (!challenge) return;
    const auto& challenger = challenge->challenger();
    const bool sentByMe = challenger && challenger->isLocalUser();
    status->setHidden(true);
    sentMark->setText("Sent");
    sentMark->setHidden(!sentByMe);
    if (record->isCompleted()) {
        int result = record->result();
        const bool mine = record->recipient() && record->recipient()->isLocalUser();
        // The icon speaks for the local player: the sender lost what the recipient won.
        if (!mine && result == HCChallengeToUser::kWin) result = HCChallengeToUser::kLose;
        else if (!mine && result == HCChallengeToUser::kLose) result = HCChallengeToUser::kWin;
        showIcon(status, HCChallengeToUser::getChallengeResultIconName(result));
        status->setHidden(false);
    } else if (!sentByMe && !record->hasBeenViewed()) {
        showIcon(status, std::string("HCChallengeIconNew.png"));
        status->setHidden(false);
    }
    title->setText(titleOf(challenge->challengeDefinition()));
    const auto& message = challenge->userMessage();
    text->setText(message && !message->empty() ? *message : challenge->challengeDescription().value_or(""));
    const auto& other = sentByMe ? record->recipient() : challenger;
    from->setText((sentByMe ? "To " : "From ") + nameOf(other));
    player->useProfilePictureFromUser(other);
}

HCChallengeSentCell::HCChallengeSentCell() = default;

void HCChallengeSentCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    auto challenge = platform::as<HCChallenge>(resource);
    auto icon = pictureTagged(1);
    auto title = labelTagged(2);
    auto text = labelTagged(3);
    if (!challenge) return;
    showDefinition(challenge->challengeDefinition(), icon, "HCMultiPeopleChallengeIcon.png", title);
    text->setText(challenge->challengeDescription().value_or(""));
}

HCChallengeDetailCell::HCChallengeDetailCell() = default;

void HCChallengeDetailCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    auto record = platform::as<HCChallengeToUser>(resource);
    auto picture = pictureTagged(1);
    auto name = labelTagged(2);
    auto resultIcon = pictureTagged(4);
    auto result = labelTagged(5);
    auto tries = labelTagged(7);
    if (!record) return;
    name->setText(nameOf(record->recipient()));
    result->setText(record->isCompleted() ? record->formattedResultDescription().value_or("")
                                          : "Challenge not completed yet.");
    auto challenge = record->challenge();
    auto definition = challenge ? challenge->challengeDefinition() : nullptr;
    const bool showTries = definition && definition->multiAttempt() && record->attempts() != 0;
    tries->setText(std::to_string(record->attempts()) + (record->attempts() < 2 ? " try" : " tries"));
    tries->setHidden(!showTries);
    picture->useProfilePictureFromUser(record->recipient());
    showIcon(resultIcon, HCChallengeToUser::getChallengeResultIconName(record->result()));
    resultIcon->setHidden(!record->isCompleted());
}

// --- statistics ----------------------------------------------------------------------

HCChallengeDefinitionStatsCell::HCChallengeDefinitionStatsCell()
    : titleLabel_(platform::ui::Label::make(Rect(60, 4, 250, 18))),
      challengeIcon_(HCImageView::make(Rect(6, 6, 48, 48))),
      winsHeader_(platform::ui::Label::make(Rect(60, 24, 60, 14))),
      winsLabel_(platform::ui::Label::make(Rect(60, 40, 60, 18))),
      lossesOrComparisonHeader_(platform::ui::Label::make(Rect(130, 24, 60, 14))),
      lossesOrComparisonLabel_(platform::ui::Label::make(Rect(130, 40, 60, 18))),
      tiesHeader_(platform::ui::Label::make(Rect(200, 24, 60, 14))),
      tiesLabel_(platform::ui::Label::make(Rect(200, 40, 60, 18))),
      winnerIcon_(HCImageView::make(Rect(0, 24, 14, 14)))
{
    setFrame(Rect(0, 0, kCellWidth, kCellHeight));
    winsHeader_->setText("Wins");
    tiesHeader_->setText("Ties");
    winnerIcon_->setImage(HCImageLoader::loadImage("HCChallengeIconWinner.png"));
}

void HCChallengeDefinitionStatsCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!titleLabel_->superview()) {
        for (const platform::ui::ViewPtr& view :
             std::initializer_list<platform::ui::ViewPtr>{titleLabel_, challengeIcon_, winsHeader_, winsLabel_,
                                                          lossesOrComparisonHeader_, lossesOrComparisonLabel_,
                                                          tiesHeader_, tiesLabel_, winnerIcon_})
            contentView()->addSubview(view);
    }
    auto stats = platform::as<HCChallengeDefinitionStats>(resource);
    if (!stats) return;
    showDefinition(stats->challengeDefinition(), challengeIcon_, "HCDefaultChallengeIcon.png", titleLabel_);
    tiesLabel_->setText(std::to_string(stats->localUsersTies()));
    winnerIcon_->setHidden(true);
    for (const auto& [header, number] : {std::pair{winsHeader_, winsLabel_},
                                         std::pair{lossesOrComparisonHeader_, lossesOrComparisonLabel_}}) {
        header->setCenter({number->center().x, header->center().y});
        number->setTextColor(tiesLabel_->textColor());
    }
    if (!stats->comparison()) {
        winsLabel_->setText(std::to_string(stats->localUsersWins()));
        lossesOrComparisonHeader_->setText("Losses");
        lossesOrComparisonLabel_->setText(std::to_string(stats->localUsersLosses()));
        return;
    }
    winsLabel_->setText(std::to_string(stats->comparedUsersWins()));
    lossesOrComparisonHeader_->setText("Wins");
    lossesOrComparisonLabel_->setText(std::to_string(stats->localUsersWins()));
    if (stats->comparedUsersWins() > stats->localUsersWins()) markWinner(winsHeader_, winsLabel_);
    else if (stats->localUsersWins() > stats->comparedUsersWins())
        markWinner(lossesOrComparisonHeader_, lossesOrComparisonLabel_);
}

void HCChallengeDefinitionStatsCell::markWinner(const std::shared_ptr<platform::ui::Label>& header,
                                                const std::shared_ptr<platform::ui::Label>& number)
{
    const double half = std::round(winnerIcon_->frame().size.width / 2) + 3;
    const double headerX = number->center().x - 2 + half;
    header->setCenter({headerX, header->center().y});
    winnerIcon_->setCenter({headerX - 2 * half, header->center().y});
    winnerIcon_->setHidden(false);
    number->setTextColor(platform::ui::Color(6 / 255.0, 37 / 255.0, 11 / 255.0, 1));
}
