#pragma once
// A row of a games list ("PlayedGame"): the game's icon and name, how many
// friends have it, and the scores of the players its statistics compare
// (the other player first, the local player second), with a favourite mark
// each and the higher score marked. When the other player has the game and
// the local player does not, a cart button leads to the store instead of
// the local player's score (or, when the store cannot be opened, to the
// game's description page).
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/images/HCImageView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCUserGameStat;

class HCPlayedGameCell : public HCTableCellHelper {
public:
    static constexpr double kHeight = 56;
    HCPlayedGameCell();

    // Opens the game's store address, when it is one of the store's own or
    // a web address; anything else the server sent is not opened.
    bool showAppStorePage();
    // Pushes the game's description page on the owning page's navigation controller.
    bool showIPurchasePage();
    // Whether the store page may open `url`.
    static bool isStoreURL(const std::string& url);

    const std::optional<std::string>& clientApplicationId() const { return clientApplicationId_; }
    const std::shared_ptr<platform::ui::Button>& shoppingCartButton() const { return shoppingCartButton_; }
    const std::shared_ptr<platform::ui::View>& secondStatView() const { return secondStatView_; }
    const std::shared_ptr<platform::ui::ImageView>& firstGamerScoreIcon() const { return firstGamerScoreIcon_; }
    const std::shared_ptr<platform::ui::ImageView>& secondGamerScoreIcon() const { return secondGamerScoreIcon_; }

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCPlayedGameCell"; }

private:
    void addViews();
    void showStatistics(const std::shared_ptr<HCUserGameStat>& local, const std::shared_ptr<HCUserGameStat>& other,
                        bool cartShows);

    std::optional<std::string> clientApplicationId_;
    std::optional<std::string> storeUrl_;
    std::shared_ptr<HCImageView> iconView_;
    std::shared_ptr<platform::ui::Label> nameLabel_;
    std::shared_ptr<platform::ui::Label> friendsWithAppLabel_;
    std::shared_ptr<platform::ui::View> firstStatView_;
    std::shared_ptr<platform::ui::View> secondStatView_;
    std::shared_ptr<platform::ui::Label> firstGamerScoreLabel_;
    std::shared_ptr<platform::ui::Label> secondGamerScoreLabel_;
    std::shared_ptr<platform::ui::ImageView> firstGamerScoreIcon_;
    std::shared_ptr<platform::ui::ImageView> secondGamerScoreIcon_;
    std::shared_ptr<platform::ui::ImageView> firstFavoritedIcon_;
    std::shared_ptr<platform::ui::ImageView> secondFavoritedIcon_;
    std::shared_ptr<platform::ui::ImageView> comparisonDividerIcon_;
    std::shared_ptr<platform::ui::Button> shoppingCartButton_;
};
