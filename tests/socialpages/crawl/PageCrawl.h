#pragma once
// A crawl through the dashboard as a careless player works it: from a tab or
// a launch call, every page reached is worked in turn — each row, button and
// bar button tapped twice in one turn (by position, with the request thread
// held so no answer comes between the taps), hostile text typed into every
// field before each submission, a page just opened left again while its
// request is held (by the back button or for another tab) — with the
// service normal, failing, dropping connections or the network gone. After
// every action the screen must come to rest: no loading screen left up once
// the player waited longer than any time-out, no request left unanswered,
// and no list page left with a title and nothing else (a crash or a
// sanitizer report ends the program on its own).
//
// Bounded: each kind of page is worked once per crawl, to a fixed depth,
// with a fixed number of rows and controls each. Deterministic: the manual
// clock, no sleeps; the headless web pages are ended by the crawl as the
// network would, and a log-in a page starts ends as one that failed (the
// harness's log-in chain starts nothing).
//
// Thread: main thread only.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "gamepages/support/PageHarness.h"

namespace crawltest {

// Failing: every request answered 503; Dropped: every connection closed
// unanswered (the network went while the client still thinks it is there);
// both reach each page with the service answering, then fail every action
// on it and the load of every page it opens. Offline: the client knows the
// network is gone.
enum class Service { Normal, Failing, Dropped, Offline };

struct CrawlStart {
    std::string name;
    std::function<void()> launch;
};

class PageCrawl : public pagetest::PageHarness {
protected:
    void SetUp() override;
    // Starts the client in `service`'s state and crawls from each start.
    void crawl(Service service, const std::vector<CrawlStart>& starts);

    // The dashboard opened on one of its tabs.
    static CrawlStart tab(const std::string& name);
    // Waits for rest, answers what asked, waits again; false (with a
    // failure) when the screen did not come to rest.
    bool rests(const std::string& where);

private:
    enum class Kind { Row, Control, LeftBar, RightBar, Return };
    // One thing a player does on a page, found again by position on replay.
    struct Action {
        Kind kind;
        int index;
        // Typed into every field first (index into the hostile texts), or -1.
        int text = -1;
        std::string label;
    };
    struct Route {
        size_t start;
        std::vector<Action> steps;
    };

    void explore(const Route& route, int depth);
    std::vector<Action> actionsOn(const platform::ui::ViewControllerPtr& page) const;
    // Does the action once or twice in one turn; answers false when its
    // target is gone from the page.
    bool perform(const platform::ui::ViewControllerPtr& page, const Action& action, int taps);
    void fillFields(const platform::ui::ViewControllerPtr& page, const std::string& text);
    // Brings `page` back on top (alerts answered, modals dismissed, pages
    // above popped); false when it left the dashboard.
    bool returnTo(const platform::ui::ViewControllerPtr& page);
    // The player looks at another tab and comes back; false without tabs.
    bool switchTabAndBack(const platform::ui::ViewControllerPtr& page);
    // Opens the route's start again and walks its steps; the page on top.
    platform::ui::ViewControllerPtr replay(const Route& route);
    bool atRest() const;
    void answerAlertsAndSheets();
    void playWebPages();
    // Failing and Dropped: arms (or clears) the failure of every request.
    void breakService(bool broken);
    void seedHostileContent();
    void failOnBlankPage(const platform::ui::ViewControllerPtr& page, const std::string& where);
    std::string describe(const Route& route) const;
    std::string pageKey(const platform::ui::ViewControllerPtr& page) const;

    Service service_ = Service::Normal;
    std::vector<CrawlStart> starts_;
    std::set<std::string> visited_;
    int pagesWorked_ = 0;
};

}  // namespace crawltest
