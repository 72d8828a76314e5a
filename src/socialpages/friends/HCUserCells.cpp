#include "socialpages/friends/HCUserCells.h"

#include "core/images/HCImageLoader.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "socialpages/HCCellSubviews.h"
#include "social/friends/HCGamePlayer.h"

namespace {

using platform::ui::Rect;

constexpr double kUserCellsCellWidth = 320.0;

std::shared_ptr<platform::ui::Label> label(double x, double y, double width, double height)
{
    return platform::ui::Label::make(Rect(x, y, width, height));
}

}  // namespace

HCUserCell::HCUserCell()
    : profilePictureView_(HCImageView::make(Rect(6, 6, 40, 40))),
      nameLabel_(label(54, 4, 180, 20)),
      lastPlayedGameLabel_(label(54, 26, 200, 16)),
      gamerScoreLabel_(label(262, 4, 50, 20)),
      onlineLabel_(label(262, 26, 50, 16)),
      relationshipIndicator_(std::make_shared<HCUserRelationshipIndicator>(Rect(236, 8, 16, 16))),
      halcyonScoreIconImageView_(platform::ui::ImageView::make(Rect(244, 6, 14, 14)))
{
    setFrame(Rect(0, 0, kUserCellsCellWidth, 52));
    onlineLabel_->setText("Online");
    halcyonScoreIconImageView_->setImage(HCImageLoader::loadImage("HCIconGamerscore.png"));
}

void HCUserCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {profilePictureView_, nameLabel_, lastPlayedGameLabel_, gamerScoreLabel_, onlineLabel_,
                  relationshipIndicator_, halcyonScoreIconImageView_});
    auto user = platform::as<HCUser>(resource);
    if (!user) return;
    nameLabel_->setText(user->name().value_or(""));
    profilePictureView_->useProfilePictureFromUser(user);
    gamerScoreLabel_->setText(std::to_string(user->gamerScore()));
    const bool online = user->online();
    onlineLabel_->setHidden(!online);
    const char* prefix = online ? "playing" : user->isLocalUser() ? "You are playing" : "Last played";
    lastPlayedGameLabel_->setText(std::string(prefix) + " " + user->lastPlayedGameName().value_or(""));
    relationshipIndicator_->setUser(user);
}

void HCUserCell::setEditing(bool editing, bool animated)
{
    HCTableCellHelper::setEditing(editing, animated);
    const double alpha = editing ? 0.0 : 1.0;
    halcyonScoreIconImageView_->setAlpha(alpha);
    gamerScoreLabel_->setAlpha(alpha);
}

HCSelectableUserCell::HCSelectableUserCell() : checkbox_(platform::ui::ImageView::make(Rect(290, 14, 24, 24)))
{
    setChecked(false);
}

void HCSelectableUserCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HCUserCell::onResourceChanged(resource);
    if (!checkbox_->superview()) contentView()->addSubview(checkbox_);
}

void HCSelectableUserCell::setChecked(bool checked)
{
    HC_CHECK_MAIN_THREAD();
    checked_ = checked;
    checkbox_->setImage(HCImageLoader::loadImage(checked ? "HCCheckBoxSelected.png" : "HCCheckBox.png"));
}

HCWhosPlayingCell::HCWhosPlayingCell()
    : profilePictureView_(HCImageView::make(Rect(6, 6, 40, 40))),
      nameLabel_(label(54, 4, 160, 20)),
      lastPlayedGameLabel_(label(54, 26, 160, 16)),
      gamerScoreLabel_(label(262, 26, 50, 16)),
      appGamerScoreLabel_(label(262, 4, 50, 20)),
      onlineLabel_(label(214, 4, 46, 20))
{
    setFrame(Rect(0, 0, kUserCellsCellWidth, 52));
    onlineLabel_->setText("Online");
}

void HCWhosPlayingCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this,
          {profilePictureView_, nameLabel_, lastPlayedGameLabel_, gamerScoreLabel_, appGamerScoreLabel_, onlineLabel_});
    auto player = platform::as<HCGamePlayer>(resource);
    if (!player) return;
    const auto& user = player->user();
    const std::string game = user ? user->lastPlayedGameName().value_or("") : std::string();
    nameLabel_->setText(user ? user->name().value_or("") : std::string());
    profilePictureView_->useProfilePictureFromUser(user);
    // The local player is playing right now, whatever the presence says.
    const bool playing = user && (user->online() || user->isLocalUser());
    onlineLabel_->setHidden(!playing);
    lastPlayedGameLabel_->setText((playing ? "Playing " : "Last played ") + game);
    appGamerScoreLabel_->setText(std::to_string(player->applicationGamerscore()));
    gamerScoreLabel_->setText(user ? std::to_string(user->gamerScore()) : std::string("0"));
}
