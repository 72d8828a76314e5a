#include "gamepages/discovery/HCPlayedGameCell.h"

#include <cctype>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "gamepages/HCDescriptionOpener.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "social/playedgames/HCPlayedGame.h"

namespace {

using platform::ui::Rect;

std::shared_ptr<platform::ui::ImageView> icon(const Rect& frame)
{
    auto view = platform::ui::ImageView::make(frame);
    view->setHidden(true);
    return view;
}

std::string lowered(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The entry the local player is compared with: the first that is not the
// local player's own (found by id, wherever the server placed it).
std::shared_ptr<HCUserGameStat> otherEntry(const HCPlayedGame& game, const std::shared_ptr<HCUserGameStat>& local)
{
    for (const auto& stat : game.userGameStats())
        if (stat != local) return stat;
    return nullptr;
}

}  // namespace

HCPlayedGameCell::HCPlayedGameCell()
    : iconView_(HCImageView::make(Rect(4, 4, 48, 48))),
      nameLabel_(platform::ui::Label::make(Rect(58, 4, 170, 24))),
      friendsWithAppLabel_(platform::ui::Label::make(Rect(58, 30, 170, 20))),
      firstStatView_(platform::ui::View::make(Rect(230, 4, 44, 48))),
      secondStatView_(platform::ui::View::make(Rect(274, 4, 44, 48))),
      firstGamerScoreLabel_(platform::ui::Label::make(Rect(0, 24, 44, 20))),
      secondGamerScoreLabel_(platform::ui::Label::make(Rect(0, 24, 44, 20))),
      firstGamerScoreIcon_(platform::ui::ImageView::make(Rect(12, 0, 20, 20))),
      secondGamerScoreIcon_(platform::ui::ImageView::make(Rect(12, 0, 20, 20))),
      firstFavoritedIcon_(icon(Rect(0, 0, 12, 12))),
      secondFavoritedIcon_(icon(Rect(0, 0, 12, 12))),
      comparisonDividerIcon_(icon(Rect(273, 4, 1, 48))),
      shoppingCartButton_(platform::ui::Button::buttonWithType(platform::ui::ButtonType::Custom))
{
    setFrame(Rect(0, 0, 320, kHeight));
    shoppingCartButton_->setFrame(Rect(274, 12, 40, 32));
}

bool HCPlayedGameCell::isStoreURL(const std::string& url)
{
    const auto colon = url.find(':');
    if (colon == std::string::npos) return false;
    const std::string scheme = lowered(url.substr(0, colon));
    return scheme == "http" || scheme == "https" || scheme == "itms" || scheme == "itms-apps";
}

bool HCPlayedGameCell::showAppStorePage()
{
    HC_CHECK_MAIN_THREAD();
    if (!storeUrl_ || !isStoreURL(*storeUrl_)) return false;
    return platform::ui::Application::shared()->openURL(*storeUrl_);
}

bool HCPlayedGameCell::showIPurchasePage()
{
    HC_CHECK_MAIN_THREAD();
    auto page = std::dynamic_pointer_cast<platform::ui::ViewController>(owner());
    auto navigation = page ? page->navigationController() : nullptr;
    auto description = HCDescriptionOpener::descriptionPage(clientApplicationId_, "playedGameCell");
    if (!navigation || !description) return false;
    navigation->pushViewController(description, true);
    return true;
}

void HCPlayedGameCell::addViews()
{
    auto content = contentView();
    content->addSubview(iconView_);
    content->addSubview(nameLabel_);
    content->addSubview(friendsWithAppLabel_);
    firstStatView_->addSubview(firstGamerScoreIcon_);
    firstStatView_->addSubview(firstGamerScoreLabel_);
    firstStatView_->addSubview(firstFavoritedIcon_);
    secondStatView_->addSubview(secondGamerScoreIcon_);
    secondStatView_->addSubview(secondGamerScoreLabel_);
    secondStatView_->addSubview(secondFavoritedIcon_);
    content->addSubview(firstStatView_);
    content->addSubview(secondStatView_);
    content->addSubview(comparisonDividerIcon_);
    content->addSubview(shoppingCartButton_);
    std::weak_ptr<HCPlayedGameCell> weakSelf = platform::self(this);
    shoppingCartButton_->addTarget(
        this,
        [weakSelf](platform::ui::Control&) {
            // A game the store cannot be opened for still has its description.
            if (auto self = weakSelf.lock(); self && !self->showAppStorePage()) self->showIPurchasePage();
        },
        platform::ui::ControlEventTouchUpInside);
}

void HCPlayedGameCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!nameLabel_->superview()) addViews();
    auto game = platform::as<HCPlayedGame>(resource);
    clientApplicationId_ = game ? game->clientApplicationId() : std::nullopt;
    storeUrl_ = game ? game->iTunesAppStoreUrl() : std::nullopt;
    nameLabel_->setText(game ? game->name().value_or("") : "");
    const uint32_t friends = game ? game->friendsWithApp() : 0;
    friendsWithAppLabel_->setHidden(friends == 0);
    friendsWithAppLabel_->setText(std::to_string(friends) + (friends == 1 ? " friend has" : " friends have") +
                                  " this game");
    iconView_->setDefaultImage(HCImageLoader::loadImage("HCDefaultApplicationIcon.png"));
    iconView_->setImageUrl(game ? game->iconUrl() : std::nullopt);

    firstStatView_->setHidden(true);
    secondStatView_->setHidden(true);
    shoppingCartButton_->setHidden(true);
    firstFavoritedIcon_->setHidden(true);
    secondFavoritedIcon_->setHidden(true);
    comparisonDividerIcon_->setHidden(true);
    bool cartShows = false;
    if (game && !game->userGameStats().empty()) {
        const auto local = game->getLocalUsersGameStat();
        const auto other = otherEntry(*game, local);
        cartShows = other && !(local && local->userHasGame()) && game->iconUrl();
        showStatistics(local, other, cartShows);
    }
    shoppingCartButton_->setHidden(!cartShows);
    shoppingCartButton_->setEnabled(cartShows);
    const bool disclosure = !cartShows && firstStatView_->isHidden() && game && game->iconUrl();
    setAccessoryType(disclosure ? platform::ui::TableViewCellAccessoryType::DisclosureIndicator
                                : platform::ui::TableViewCellAccessoryType::None);
}

void HCPlayedGameCell::showStatistics(const std::shared_ptr<HCUserGameStat>& local,
                                      const std::shared_ptr<HCUserGameStat>& other, bool cartShows)
{
    auto points = HCImageLoader::loadImage("HCTableHalcyonPoints.png");
    firstGamerScoreIcon_->setImage(points);
    secondGamerScoreIcon_->setImage(points);
    firstStatView_->setHidden(false);
    const uint32_t localScore = local ? local->userGamerScore() : 0;
    if (!other) {
        firstGamerScoreLabel_->setText(std::to_string(localScore));
        firstFavoritedIcon_->setHidden(!(local && local->userFavoritedGame()));
        return;
    }
    secondStatView_->setHidden(cartShows);
    firstGamerScoreLabel_->setText(std::to_string(other->userGamerScore()));
    secondGamerScoreLabel_->setText(std::to_string(localScore));
    comparisonDividerIcon_->setHidden(false);
    contentView()->bringSubviewToFront(comparisonDividerIcon_);
    firstFavoritedIcon_->setHidden(!other->userFavoritedGame());
    secondFavoritedIcon_->setHidden(!(local && local->userFavoritedGame()));
    if (cartShows || other->userGamerScore() == localScore) return;
    auto win = HCImageLoader::loadImage("HCTableHalcyonPointsWin.png");
    (other->userGamerScore() > localScore ? firstGamerScoreIcon_ : secondGamerScoreIcon_)->setImage(win);
}
