#pragma once
// Every page test goes through this: the client started on a manual clock
// against the local server (leaderboards, scores, score queries,
// achievements, forums), signed in as its first player ("Ann", who follows "Ben")
// or left offline with the bundle's leaderboard copy, the running game
// described as the log-in would (the server's game, with leaderboards and
// achievements); a page opened by its
// loader name in the dashboard's Now Playing tab; the page worked through
// the UI driver; and what the screen shows read back as text.
//
// A page is idle when the provider has nothing queued or running, what it
// delivered has run, and the page shows no loading screen; waitForIdle()
// fails the test when that does not come.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "localserver/Server.h"
#include "localserver/routes/AchievementRoutes.h"
#include "localserver/routes/ForumRoutes.h"
#include "localserver/routes/ScoreRoutes.h"
#include "localserver/routes/ScoreQueryRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "platform/ui/Driver.h"
#include "platform/ui/MapView.h"
#include "platform/ui/Window.h"
#include "support/BannerWindow.h"
#include "support/TestSupport.h"
#include "core/publicclass/HCDelegatesContainer.h"
#include "uiframework/table/HCTableControllerHelper.h"

namespace pagetest {

class PageHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The client comes up; online it is signed in as player 1001.
    void startOnline();
    // Before startOnline: the game enables Game Center, mapping leaderboard 1
    // to kGameCenterBoard, and the headless Game Center signs in "G:1"; the
    // client's bridge is signed in before startOnline returns.
    void useGameCenter();
    static constexpr const char* kGameCenterBoard = "gc.high";
    // Waits until Game Center's thread answered what it was asked so far and
    // the answers reached the main thread.
    void answerGameCenter();
    void startOffline();
    // Before start: user-generated content is closed, as under parental controls.
    void disallowUserGeneratedContent();
    // Before start: the dashboard's tabs are these pages themselves (name,
    // and title when not empty) in place of the harness's stand-in roots.
    void usePagesAsTabs(const std::vector<std::pair<std::string, std::string>>& tabs);

    // Opens the page made by the loader (after `setUp` prepared it) in the
    // dashboard and waits until it is idle.
    std::shared_ptr<HCTableControllerHelper> openPage(
        const std::string& loaderName,
        const std::function<void(const platform::ui::ViewControllerPtr&)>& setUp = nullptr);
    // As openPage, without waiting for its load.
    std::shared_ptr<HCTableControllerHelper> pushPage(
        const std::string& loaderName,
        const std::function<void(const platform::ui::ViewControllerPtr&)>& setUp = nullptr);
    // As pushPage, but the push is left sliding in: the page has been told
    // it will appear and not yet that it did (settle() ends the slide), so
    // a test reads what the player sees during the push.
    std::shared_ptr<HCTableControllerHelper> startPush(
        const std::string& loaderName,
        const std::function<void(const platform::ui::ViewControllerPtr&)>& setUp = nullptr);
    // The page on top of the open tab.
    platform::ui::ViewControllerPtr topPage() const;
    template <class T>
    std::shared_ptr<T> topPageAs() const
    {
        return std::dynamic_pointer_cast<T>(topPage());
    }

    // The top page's table as the player reads it: "[title]" for a section
    // with a title, then one line per row, its shown labels joined by " | ".
    std::vector<std::string> screenRows() const;
    bool tapRow(const std::string& text);
    // What the pictures of the first row showing `text` show, left to right
    // as added: the image's URL, else its bundle name, else "-".
    std::vector<std::string> rowPictures(const std::string& text) const;
    // The player drags the top page's table to its last row.
    void scrollToEnd();
    // A 1 x 1 picture in the bundle under `name`, so a page can show it.
    void addBundleImage(const std::string& name);
    bool tapButton(const std::string& title);
    // A process's first log-in asks the player, over the game, to link his
    // networks: he answers it ("Not Now"), so that the game's window is the
    // one banners slide into again. False when it stays up.
    bool answerTheLinkingScreen();
    // How a send held while the player leaves its page ends once he left:
    // the server refuses it with 503 "busy", or the provider drops it
    // unanswered.
    enum class HeldSendEnd { Refused, Dropped };
    // The player sends what he wrote (`send` taps), then leaves the page
    // (`leave`; Back when none) while the send to `path` is held; once he
    // has left, it ends as `end` says. The page on top then, nil when he
    // was left on the sending page or the dashboard is closed.
    platform::ui::ViewControllerPtr sendThenLeaveBefore(HeldSendEnd end, const std::string& path,
                                                        const std::function<bool()>& send,
                                                        const std::function<bool()>& leave = nullptr);
    // The banners that slid over the game (or the dashboard) so far, as
    // "text [ok]" or "text [failed]" (the failure status icon).
    std::vector<std::string> bannerTexts() const { return window->texts(); }
    // Runs the main thread until the server holds `count` requests
    // (localserver::Fault::heldBack); false when that does not come.
    bool serverHolds(size_t count = 1);
    // Runs the main thread until the server holds one request and every
    // other request has been answered and its reply has run here, so the
    // held one is all the client has on its way; fails, saying so, when
    // that does not come. Whatever was sent beside the held request has by
    // then reached the server, however busy the machine.
    ::testing::AssertionResult onlyTheHeldRequestRuns();
    // Once onlyTheHeldRequestRuns(), lets the held one go: its reply comes
    // after all the others.
    void releaseHeldLast();
    // Waits for the idle page (bounded by wall time for the server's I/O).
    void waitForIdle();
    // Waits until every request made so far is answered and its reply has
    // run here, whatever the page shows (a page may keep a loading screen up).
    void waitForReplies();
    bool showsLoadingScreen() const;

    // The requests the server got on a path, and a parameter of the last.
    size_t requestsTo(const std::string& path) const;
    std::optional<std::string> lastParam(const std::string& path, const std::string& name) const;
    // How many requests to `path` carried `name`=`value`. Requests of one
    // load travel side by side, so their order at the server is not theirs.
    size_t requestsWithParam(const std::string& path, const std::string& name, const std::string& value) const;

    // The device knows the player is here and the player shares it
    // (distances in miles with `unit` 2, else kilometres).
    void placePlayerAt(double latitude, double longitude, long unit = 0);
    // The right button of the top page's navigation bar.
    bool tapRightBarButton();
    // The words on the right button of the open tab's navigation bar as
    // shown now, mid-slide too; empty when it shows none.
    std::string rightBarButtonWords() const;
    // Opens Now Playing and pushes the page there in the context of the
    // local player compared with Ben; false when there was no tab for it.
    bool pushComparedWithBen(const platform::ui::ViewControllerPtr& page);
    // The pins of the top page's map as the player reads them, in the map's
    // order: "title / subtitle (badge)", the badge only for a pin in sight.
    std::vector<std::string> screenPins() const;
    std::shared_ptr<platform::ui::MapView> screenMap() const;

    // A score the server holds, posted `age` seconds ago (at a position when given).
    void seedScore(const std::string& user, const std::string& board, std::int64_t score, std::int64_t age = 0,
                   std::optional<std::pair<double, double>> position = std::nullopt);

    // The game pages meet a stand-in social post page that shows what it was
    // given; the composer's own tests turn it off before start.
    bool standInComposer = true;

    testsupport::TempDir sandbox;
    testsupport::TempDir bundle;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
    std::unique_ptr<platform::ui::Driver> driver;
    // The game's window: banners slide into it.
    std::shared_ptr<testsupport::BannerWindow> window;
    std::unique_ptr<localserver::Server> server;
    std::shared_ptr<localserver::ScoreStore> scores;
    std::shared_ptr<localserver::ScoreQueryOptions> scoreQueries;
    std::shared_ptr<localserver::AchievementStore> achievements;
    std::shared_ptr<localserver::ForumStore> forums;
    // The game's delegates the client was started with; the game's own
    // delegate is `gameDelegate` when a test sets it before start.
    std::shared_ptr<HCDelegatesContainer> delegates;
    HalcyonDelegate* gameDelegate = nullptr;
    // The storage host's bucket (score attachments).
    std::shared_ptr<localserver::StorageBucket> bucket;

    // Lets transitions, appearances and due timers run (the clock moves on a few seconds).
    void settle();

private:
    void start(bool online);
    bool gameCenter_ = false;
    bool userContentAllowed_ = true;
};

}  // namespace pagetest
