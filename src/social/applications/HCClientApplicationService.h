#pragma once
// Games on the service: a game's profile info (alone or compared with
// another player), the games a player has played or made favourite, a
// player's review, making a game a favourite with a review, removing a game
// from the player's list, and telling the server the fan club was seen.
//
// A nil application id means this game; while this game's id is not known
// yet (before the first log-in) such a call fails at once, without a
// request. Every call needs a logged-in session. While the service is not
// running a call answers nil and calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCClientApplicationService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCClientApplicationService> sharedInstance();

    // Compared with a player: GET "apps/%@.xml" with "game_profile_page_info"
    // 1 and "compared_user_id". Uncompared, this game (nil, "" or its own
    // id) is answered from the stored info before the call returns, with
    // nil; another game is fetched without "compared_user_id".
    static HCRequestHandlePtr getGameProfilePageComparisonInfo(const Text& applicationId, const Text& comparedToUserId,
                                                               const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getGameProfilePageInfo(const Text& applicationId, const HCDelegate& onSuccess,
                                                     const HCDelegate& onFailure);
    // GET "apps.xml" with "page" and "scope".
    static HCRequestHandlePtr getPlayedGamesInScope(const std::string& scope, int32_t page,
                                                    const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getPlayedGamesForLocalUsersFriends(int32_t page, const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure);
    // GET "profiles/%@/list_games": "me" for nil or the local player's own
    // id; another player's list adds "compared_to_user_id" "me".
    static HCRequestHandlePtr getPlayedGamesForUser(const Text& userId, bool favoriteGamesOnly, int32_t page,
                                                    int32_t countPerPage, const HCDelegate& onSuccess,
                                                    const HCDelegate& onFailure);
    static HCRequestHandlePtr getFavoriteGamesForUser(const Text& userId, int32_t page, int32_t countPerPage,
                                                      const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getPlayedGamesForUser(const Text& userId, int32_t page, int32_t countPerPage,
                                                    const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // GET "client_applications/%@/users/%@.xml" (this game, the local player for nil).
    static HCRequestHandlePtr getPlayerReviewForGame(const Text& applicationId, const Text& userId,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // POST "client_applications/%@/users/review.xml":
    // "client_application_user[review]" (when given), then "[favorite]".
    static HCRequestHandlePtr setGameIsFavorite(const Text& applicationId, bool favorite, const Text& review,
                                                const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr makeGameFavorite(const Text& applicationId, const Text& reviewText,
                                               const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr unfavoriteGame(const Text& applicationId, const HCDelegate& onSuccess,
                                             const HCDelegate& onFailure);
    // DELETE "profile/games/%@".
    static HCRequestHandlePtr removeGameFromLocalUsersList(const Text& applicationId, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure);
    // GET "client_application_users/fan_club"; nobody hears its outcome.
    static HCRequestHandlePtr viewedFanClub(const Text& applicationId);

    void populateKnownResources(HCResourceNameMap& map) override;
};
