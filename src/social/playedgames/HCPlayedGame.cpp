#include "social/playedgames/HCPlayedGame.h"

#include "core/clientstate/HCClientState.h"
#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/discovery/HCGameDiscoveryService.h"
#include "social/playedgames/HCPlayedGameDelegate.h"
#include "social/profiles/HCProfileService.h"

namespace {

HCClassDelegate<HCPlayedGameDelegate> sPlayedGameDelegate(HCPlayedGame::kModule);

}  // namespace

void HCPlayedGame::setDelegate(HCPlayedGameDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    sPlayedGameDelegate.set(delegate);
}

HCRequestHandlePtr HCPlayedGame::getFeaturedGames()
{
    HC_CHECK_MAIN_THREAD();
    auto callbacks = sPlayedGameDelegate.callbacks(
        nullptr,
        [](auto started, const platform::ObjectPtr& reply) {
            auto series = platform::as<HCPaginatedSeries>(reply);
            const std::vector<platform::ObjectPtr> games = series ? series->objects() : std::vector<platform::ObjectPtr>();
            sPlayedGameDelegate.notify(started, [&](HCPlayedGameDelegate& d) { d.didGetFeaturedGames(games); });
        },
        [](auto started) { sPlayedGameDelegate.notify(started, [](HCPlayedGameDelegate& d) { d.didFailGetFeaturedGames(); }); });
    return sPlayedGameDelegate.track(HCGameDiscoveryService::getDiscoveryPageNamed(std::string("developers_picks"), 1,
                                                                         callbacks.success, callbacks.failure));
}

const HCResourceDataMap& HCPlayedGame::getDataMap() const
{
    using G = HCPlayedGame;
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &G::setName);
        m->addField("icon_url", &G::setIconUrl);
        m->addField("client_application_id", &G::setClientApplicationId);
        m->addField("total_gamerscore", &G::setTotalGamerscore);
        m->addField("friends_with_app", &G::setFriendsWithApp);
        m->addNestedResourceArrayField("user_game_stats", &G::setUserGameStats);
        m->addField("i_tunes_app_store_url", &G::setITunesAppStoreUrl);
        m->addField("favorite", &G::setFavorite);
        m->addField("review", &G::setReview);
        return m;
    }();
    return *map;
}

std::shared_ptr<HCService> HCPlayedGame::getService() const
{
    return HCProfileService::sharedInstance();
}

void HCPlayedGame::setTotalGamerscore(const Text& text)
{
    totalGamerscore_ = HCResourceText::readCount(text);
}

void HCPlayedGame::setFriendsWithApp(const Text& text)
{
    friendsWithApp_ = HCResourceText::readCount(text);
}

void HCPlayedGame::setUserGameStats(const std::shared_ptr<platform::Array>& stats)
{
    userGameStats_.clear();
    if (!stats) return;
    for (const auto& object : stats->items())
        if (auto stat = platform::as<HCUserGameStat>(object)) userGameStats_.push_back(stat);
}

void HCPlayedGame::setFavorite(const Text& text)
{
    favorite_ = HCResourceText::readBool(text);
}

std::shared_ptr<HCUserGameStat> HCPlayedGame::getLocalUsersGameStat() const
{
    const auto local = HCClientState::lastLoggedInUserId();
    if (!local) return nullptr;
    for (const auto& stat : userGameStats_)
        if (stat->userId() == local) return stat;
    return nullptr;
}

bool HCPlayedGame::isOwnedByCurrentUser() const
{
    auto stat = getLocalUsersGameStat();
    return stat && stat->userHasGame();
}

HCRequestHandlePtr HCPlayedGame::getGameIcon()
{
    HC_CHECK_MAIN_THREAD();
    auto self = platform::self(this);
    std::weak_ptr<HCPlayedGame> weak = self;
    return HCPublicImageStep<HCPlayedGameDelegate>(
        sPlayedGameDelegate, self, iconDownload_, iconUrl_,
        [weak](HCPlayedGameDelegate& d, const platform::ui::ImagePtr& image) {
            if (auto game = weak.lock()) d.didGetGameIcon(image, game);
        },
        [weak](HCPlayedGameDelegate& d) {
            if (auto game = weak.lock()) d.didFailGetGameIconHCPlayedGame(game);
        });
}
