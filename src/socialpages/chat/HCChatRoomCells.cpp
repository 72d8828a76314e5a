#include "socialpages/chat/HCChatRoomCells.h"

#include <algorithm>

#include "core/images/HCImageLoader.h"
#include "gamepages/gameprofile/HCGameProfileController.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/NavigationController.h"
#include "social/chat/HCChatRoomDefinition.h"
#include "social/chat/HCChatRoomInstance.h"
#include "socialpages/HCCellSubviews.h"
#include "socialpages/announcements/HCApplicationDescriptionController.h"
#include "socialpages/profile/HCProfileController.h"

namespace {

using platform::ui::Rect;

constexpr double kCellWidth = 320.0;

}  // namespace

platform::ui::ImagePtr HCChatRoomDefinitionCell::getChatIconForChatType(const std::optional<std::string>&, bool full)
{
    return HCImageLoader::loadImage(full ? "HCIconChatFull.png" : "HCIconChat.png");
}

HCChatRoomDefinitionCell::HCChatRoomDefinitionCell()
    : nameLabel_(platform::ui::Label::make(Rect(40, 0, 260, 44))),
      icon_(HCImageView::make(Rect(8, 10, 24, 24)))
{
    setFrame(Rect(0, 0, kCellWidth, 44));
    nameLabel_->setTag(kNameTag);
    icon_->setTag(kIconTag);
}

void HCChatRoomDefinitionCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {nameLabel_, icon_});
    auto definition = platform::as<HCChatRoomDefinition>(resource);
    if (!definition) return;
    nameLabel_->setText(definition->roomName().value_or(""));
    icon_->setImage(getChatIconForChatType(definition->roomType(), false));
}

HCChatRoomInstanceCell::HCChatRoomInstanceCell()
    : nameLabel_(platform::ui::Label::make(Rect(40, 0, 200, 44))),
      occupancyLabel_(platform::ui::Label::make(Rect(245, 0, 65, 44))),
      icon_(HCImageView::make(Rect(8, 10, 24, 24)))
{
    setFrame(Rect(0, 0, kCellWidth, 44));
    nameLabel_->setTag(kNameTag);
    occupancyLabel_->setTag(kOccupancyTag);
    icon_->setTag(kIconTag);
}

void HCChatRoomInstanceCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {nameLabel_, occupancyLabel_, icon_});
    auto room = platform::as<HCChatRoomInstance>(resource);
    if (!room) return;
    const bool full = room->numUsersInRoom() == room->maxNumUsersInRoom();
    nameLabel_->setText(room->roomName().value_or(""));
    occupancyLabel_->setText(std::to_string(room->numUsersInRoom()) + "/" + std::to_string(room->maxNumUsersInRoom()));
    occupancyLabel_->setTextColor(full ? platform::ui::Color::redColor()
                                       : platform::ui::Color(0.278, 0.278, 0.278, 1.0));
    icon_->setImage(HCChatRoomDefinitionCell::getChatIconForChatType(room->roomType(), full));
}

bool HCChatRoomChatMessageCell::shouldGameNameLink(const HCChatMessage& message)
{
    const auto& user = message.user();
    const auto gameId = user ? user->lastPlayedGameId() : std::nullopt;
    if (!gameId || gameId->empty() || *gameId == "null") return false;
    if (message.doesLocalPlayerOwnGame()) return true;
    return message.playerCurrentGameIconUrl() && !message.playerCurrentGameIconUrl()->empty();
}

HCChatRoomChatMessageCell::HCChatRoomChatMessageCell()
    : profilePictureView_(HCImageView::make(Rect(5, 5, 44, 44))),
      gamePictureView_(HCImageView::make(Rect(271, 5, 44, 44))),
      playerNameLabel_(platform::ui::Label::make(Rect(56, 4, 100, 18))),
      gameNameLabel_(platform::ui::Label::make(Rect(156, 4, 110, 18))),
      chatMessageLabel_(platform::ui::Label::make(Rect(56, 24, 210, 18))),
      nameButton_(std::make_shared<platform::ui::Button>(platform::ui::ButtonType::Custom, Rect(56, 4, 100, 18))),
      gameNameButton_(std::make_shared<platform::ui::Button>(platform::ui::ButtonType::Custom, Rect(156, 4, 110, 18)))
{
    setFrame(Rect(0, 0, kCellWidth, kMinimumHeight));
    chatMessageLabel_->setNumberOfLines(0);
    gamePictureView_->setDefaultImage(HCImageLoader::loadImage("HCDefaultApplicationIcon.png"));
}

void HCChatRoomChatMessageCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!gameNameButton_->superview()) {
        std::weak_ptr<HCChatRoomChatMessageCell> weakSelf =
            std::static_pointer_cast<HCChatRoomChatMessageCell>(platform::self(this));
        nameButton_->addTarget(
            this, [weakSelf](auto&) { if (auto cell = weakSelf.lock()) cell->onClickedHalcyonName(); },
            platform::ui::ControlEventTouchUpInside);
        gameNameButton_->addTarget(
            this, [weakSelf](auto&) { if (auto cell = weakSelf.lock()) cell->onClickedGameName(); },
            platform::ui::ControlEventTouchUpInside);
    }
    adoptCellSubviews(*this, {profilePictureView_, gamePictureView_, playerNameLabel_, gameNameLabel_,
                              chatMessageLabel_, nameButton_, gameNameButton_});
    message_ = platform::as<HCChatMessage>(resource);
    if (!message_) return;
    const auto& user = message_->user();
    profilePictureView_->useProfilePictureFromUser(user);
    gamePictureView_->setImageUrl(message_->playerCurrentGameIconUrl());
    const std::string name = user ? user->name().value_or("") : std::string();
    const std::string game = user ? user->lastPlayedGameName().value_or("") : std::string();
    playerNameLabel_->setText(game.empty() ? name : name + " | ");
    playerNameLabel_->sizeToFit();
    auto nameFrame = playerNameLabel_->frame();
    const auto messageFrame = chatMessageLabel_->frame();
    nameFrame.origin.x = messageFrame.origin.x;
    playerNameLabel_->setFrame(nameFrame);
    nameButton_->setFrame(nameFrame);
    gameNameLabel_->setText(game);
    gameNameLabel_->setFrame(Rect(nameFrame.origin.x + nameFrame.size.width, nameFrame.origin.y,
                                  std::max(0.0, messageFrame.size.width - nameFrame.size.width), nameFrame.size.height));
    gameNameButton_->setFrame(gameNameLabel_->frame());
    chatMessageLabel_->setText(message_->message().value_or(""));
    auto body = chatMessageLabel_->frame();
    body.size.height = chatMessageLabel_->sizeThatFits(platform::ui::Size(body.size.width, 0)).height;
    chatMessageLabel_->setFrame(body);
    auto frame = this->frame();
    frame.size.height = std::max(kMinimumHeight, body.origin.y + body.size.height + 5.0);
    setFrame(frame);
}

void HCChatRoomChatMessageCell::onClickedHalcyonName()
{
    HC_CHECK_MAIN_THREAD();
    const auto& user = message_ ? message_->user() : nullptr;
    if (user && user->resourceId() && !user->resourceId()->empty()) HCProfileController::showProfileForUser(user);
}

void HCChatRoomChatMessageCell::onClickedGameName()
{
    HC_CHECK_MAIN_THREAD();
    if (!message_ || !shouldGameNameLink(*message_)) return;
    const auto& user = message_->user();
    if (message_->doesLocalPlayerOwnGame()) {
        HCGameProfileController::showGameProfileWithClientApplicationId(user->lastPlayedGameId(), user);
        return;
    }
    auto page = platform::as<platform::ui::ViewController>(owner());
    auto navigation = page ? page->navigationController() : nullptr;
    auto description = HCApplicationDescriptionController::applicationDescriptionForId(
        user->lastPlayedGameId(), std::string("chatRoomChatMessageCell"));
    if (navigation && description) navigation->pushViewController(description, true);
}
