#include "socialpages/crawl/PageCrawl.h"

#include <cstdlib>
#include <iostream>
#include <optional>

#include "core/halcyon/Halcyon.h"
#include "dashboard/HalcyonDashboard.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCRootController.h"
#include "kernel/reachability/HCReachability.h"
#include "localserver/Faults.h"
#include "localserver/Fixtures.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Transitions.h"
#include "platform/ui/WebView.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"
#include "uiframework/HCViewController.h"

namespace crawltest {

namespace {

using platform::ui::ViewControllerPtr;

constexpr int kMaxDepth = 3;
constexpr int kMaxPages = 16;
constexpr int kRowsPerPage = 4;
constexpr int kControlsPerPage = 6;
constexpr size_t kTypedEnd = 16;
// Rounds of a few seconds each: longer than any time-out of a request.
constexpr int kPatienceRounds = 25;

// What a player types or pastes that a page must survive: very long text,
// control characters, right-to-left marks, bytes that are no UTF-8, format
// directives, markup, and nothing at all.
const std::vector<std::string>& hostileTexts()
{
    static const std::vector<std::string> texts = {
        std::string(4000, 'W') + " end",
        std::string("a\x01\x02\x07\x1b[31m\r\t\x7f", 11) + std::string("\0b", 2),
        "\u202Eevil\u200F \u202Dtext\u200E",
        "\xff\xfe\xc3\x28 \xe2\x82",
        "%@ %s %n %x %% %1$s",
        "<b>&amp;</b> <![CDATA[x]]> \"'&#0;<script>alert(1)</script>",
        "",
        "   \t  ",
    };
    return texts;
}

platform::ui::TableViewPtr tableOf(const ViewControllerPtr& page)
{
    if (auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page)) return table->tableView();
    return page->isViewLoaded() ? platform::ui::Driver::findFirst<platform::ui::TableView>(page->view()) : nullptr;
}

std::vector<platform::ui::IndexPath> rowsOf(const platform::ui::TableViewPtr& table)
{
    std::vector<platform::ui::IndexPath> rows;
    if (!table) return rows;
    for (int section = 0; section < table->numberOfSections(); ++section)
        for (int row = 0; row < table->numberOfRowsInSection(section) && rows.size() < kRowsPerPage; ++row)
            rows.push_back(platform::ui::IndexPath{section, row});
    return rows;
}

// What the player sees of the page: its view, and the box the framed
// dashboard holds for it below (a message box).
template <class T>
std::vector<std::shared_ptr<T>> shownOn(const ViewControllerPtr& page)
{
    if (!page->isViewLoaded()) return {};
    auto found = platform::ui::Driver::findAll<T>(page->view());
    auto framed = std::dynamic_pointer_cast<HCFramedNavigationController>(page->navigationController());
    if (framed && framed->topViewController() == page && framed->bottomView()) {
        auto below = platform::ui::Driver::findAll<T>(framed->bottomView());
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

// The controls a player can reach on the page, fields apart; controls of
// the table's cells are reached through their rows.
std::vector<std::shared_ptr<platform::ui::Control>> controlsOf(const ViewControllerPtr& page)
{
    std::vector<std::shared_ptr<platform::ui::Control>> controls;
    for (const auto& control : shownOn<platform::ui::Control>(page)) {
        if (std::dynamic_pointer_cast<platform::ui::TextField>(control) || !control->acceptsTouches()) continue;
        if (controls.size() < kControlsPerPage) controls.push_back(control);
    }
    return controls;
}

bool hasFields(const ViewControllerPtr& page)
{
    return !shownOn<platform::ui::TextField>(page).empty() || !shownOn<platform::ui::TextView>(page).empty() ||
           !shownOn<platform::ui::SearchBar>(page).empty();
}

// HC_CRAWL_VERBOSE=1 prints each page worked and where each action led, for
// whoever chases a finding.
bool verbose()
{
    return std::getenv("HC_CRAWL_VERBOSE") != nullptr;
}

// The failures recorded in this test so far.
int failuresSoFar()
{
    return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
}

}  // namespace

void PageCrawl::SetUp()
{
    // The crawl meets the real social post page.
    standInComposer = false;
    PageHarness::SetUp();
    usePagesAsTabs({{"GameProfile", "Now Playing"}, {"MyHalcyon", "My Halcyon"}, {"GameDiscovery", "Games"}});
}

CrawlStart PageCrawl::tab(const std::string& name)
{
    return {name + " tab", [name] { Halcyon::launchDashboardWithDelegate(nullptr, name, {}); }};
}

void PageCrawl::crawl(Service service, const std::vector<CrawlStart>& starts)
{
    service_ = service;
    startOnline();
    seedHostileContent();
    starts_ = starts;
    if (service == Service::Offline && !starts_.empty()) {
        // The network goes while the first start's page loads.
        std::optional<testsupport::RequestThreadGate> gate;
        gate.emplace(Halcyon::provider()->requestThread());
        starts_.front().launch();
        driver->settle();
        HCReachability::Instance()->setOverride(HCReachability::NotReachable);
        server->faults().injectNext(localserver::Fault::dropConnection(), localserver::Faults::kUntilCleared);
        gate.reset();
        settle();
        if (!rests(starts_.front().name + " (the network went while it loaded)")) return;
    }
    for (size_t start = 0; start < starts_.size(); ++start) {
        const Route route{start, {}};
        breakService(true);
        const auto opened = replay(route);
        if (opened) failOnBlankPage(opened, describe(route) + " (failing)");
        breakService(false);
        if (!replay(route)) continue;
        explore(route, 0);
    }
    std::cout << "[crawl] " << pagesWorked_ << " pages worked\n";
}

void PageCrawl::seedHostileContent()
{
    // What other players wrote reaches every page that lists it: each
    // hostile text as a discussion of every topic, the reply in it, and a
    // line of Ben's to Ann.
    const std::string ben = localserver::defaults::kOtherUserId;
    const auto conversation = forums->conversationBetween(localserver::defaults::kUserId, ben, server->now());
    for (const auto& text : hostileTexts()) {
        for (const auto& topic : forums->topicsOfGame(localserver::defaults::kGameId)) {
            const auto discussion = forums->openDiscussion(topic.id, ben, text, text, server->now());
            forums->reply(discussion.id, ben, text, server->now());
        }
        forums->reply(conversation.id, ben, text, server->now());
    }
}

void PageCrawl::breakService(bool broken)
{
    // Pages are reached with the service answering, so that every action on
    // every page meets the failure.
    if (service_ != Service::Failing && service_ != Service::Dropped) return;
    server->faults().clear();
    if (!broken) return;
    server->faults().injectNext(service_ == Service::Failing
                                    ? localserver::Fault::reply(503, "<html>down</html>", "text/html")
                                    : localserver::Fault::dropConnection(),
                                localserver::Faults::kUntilCleared);
}

void PageCrawl::explore(const Route& route, int depth)
{
    auto page = topPage();
    if (!page || pagesWorked_ >= kMaxPages || !visited_.insert(pageKey(page)).second) return;
    ++pagesWorked_;
    const std::string where = describe(route);
    if (verbose()) std::cout << "[crawl] " << pageKey(page) << " at " << where << "\n";
    failOnBlankPage(page, where);
    const auto actions = actionsOn(page);
    bool leftMidRequest = false;
    bool switchedTab = false;
    for (const Action& action : actions) {
        if (!returnTo(page) && !(page = replay(route))) return;
        Route next = route;
        next.steps.push_back(action);
        const std::string doing = describe(next);
        const int failures = failuresSoFar();
        breakService(true);
        std::optional<testsupport::RequestThreadGate> gate;
        gate.emplace(Halcyon::provider()->requestThread());
        if (!perform(page, action, 2)) {
            breakService(false);
            continue;
        }
        driver->settle();
        auto top = topPage();
        const bool opened = top && top != page;
        if (verbose())
            std::cout << "[crawl]   " << doing << " -> " << (top ? top->kindName() : "nothing") << "\n";
        const bool waiting = Halcyon::provider()->queuedActionCount() > 0;
        // The player leaves what is loading before it answers: the page just
        // opened, or (once per page) this page itself; by the back button,
        // or (once per page) for another tab and back.
        if (waiting && (opened || (!leftMidRequest && depth > 0))) {
            leftMidRequest = leftMidRequest || !opened;
            if (!switchedTab) {
                switchedTab = switchTabAndBack(page);
            } else {
                driver->tapBack();
            }
        }
        gate.reset();
        settle();
        const bool rested = rests(doing + " (tapped twice, left mid-request)");
        breakService(false);
        if (!rested) return;
        // A page may open only once its request is answered.
        top = topPage();
        const bool openedLater = top && top != page && HalcyonDashboard::getRootController();
        if (!(opened || openedLater) || failures != failuresSoFar()) continue;
        if (service_ == Service::Failing || service_ == Service::Dropped) {
            // Once, to see the page it opens fail to load.
            if (!returnTo(page) && !(page = replay(route))) return;
            breakService(true);
            const bool performed = perform(page, action, 1);
            settle();
            const bool failedRested = !performed || rests(doing + " (failing)");
            breakService(false);
            if (!failedRested) return;
            if (auto failed = topPage(); performed && failed && failed != page && !visited_.count(pageKey(failed)))
                failOnBlankPage(failed, doing + " (failing)");
        }
        if (depth + 1 > kMaxDepth) continue;
        // Again, once, to see the page it opens.
        if (!returnTo(page) && !(page = replay(route))) return;
        if (!perform(page, action, 1)) continue;
        settle();
        if (!rests(doing)) return;
        top = topPage();
        if (top && top != page && !visited_.count(pageKey(top))) explore(next, depth + 1);
    }
}

std::vector<PageCrawl::Action> PageCrawl::actionsOn(const ViewControllerPtr& page) const
{
    std::vector<Action> actions;
    const auto rows = rowsOf(tableOf(page));
    for (size_t row = 0; row < rows.size(); ++row)
        actions.push_back({Kind::Row, static_cast<int>(row), -1,
                           "row " + std::to_string(rows[row].section) + "." + std::to_string(rows[row].row)});
    std::vector<Action> submits;
    const auto controls = controlsOf(page);
    for (size_t control = 0; control < controls.size(); ++control) {
        auto button = std::dynamic_pointer_cast<platform::ui::Button>(controls[control]);
        submits.push_back({Kind::Control, static_cast<int>(control), -1,
                           "control \"" + (button ? button->currentTitle().value_or("") : controls[control]->kindName()) +
                               "\""});
    }
    const auto& item = page->navigationItem();
    if (item->leftBarButtonItem()) submits.push_back({Kind::LeftBar, 0, -1, "left bar button"});
    if (item->rightBarButtonItem()) submits.push_back({Kind::RightBar, 0, -1, "right bar button"});
    if (!hasFields(page)) {
        actions.insert(actions.end(), submits.begin(), submits.end());
        return actions;
    }
    // Each hostile text once, submitted by the return key and by the page's
    // submissions in turn, so every submission meets several of them.
    const int texts = static_cast<int>(hostileTexts().size());
    for (int text = 0; text < texts; ++text) {
        actions.push_back({Kind::Return, 0, text, "return"});
        if (submits.empty()) continue;
        Action submit = submits[static_cast<size_t>(text) % submits.size()];
        submit.text = text;
        actions.push_back(submit);
    }
    for (size_t rest = static_cast<size_t>(texts); rest < submits.size(); ++rest) actions.push_back(submits[rest]);
    return actions;
}

void PageCrawl::fillFields(const ViewControllerPtr& page, const std::string& text)
{
    // A long text is pasted, then its end typed: typing it all would measure
    // the growing text once a character.
    const size_t pasted = text.size() > kTypedEnd * 4 ? text.size() - kTypedEnd : 0;
    const std::string head = text.substr(0, pasted), tail = text.substr(pasted);
    for (const auto& field : shownOn<platform::ui::TextField>(page)) {
        field->setText(head);
        driver->typeText(field, tail);
    }
    for (const auto& view : shownOn<platform::ui::TextView>(page)) {
        view->setText(head);
        driver->typeText(view, tail);
    }
    for (const auto& bar : shownOn<platform::ui::SearchBar>(page)) {
        bar->setText(head);
        driver->typeText(bar, tail);
    }
}

bool PageCrawl::perform(const ViewControllerPtr& page, const Action& action, int taps)
{
    if (action.text >= 0) fillFields(page, hostileTexts()[static_cast<size_t>(action.text)]);
    std::function<bool()> tap;
    switch (action.kind) {
    case Kind::Row: {
        const auto table = tableOf(page);
        const auto rows = rowsOf(table);
        if (static_cast<size_t>(action.index) >= rows.size()) return false;
        const auto path = rows[static_cast<size_t>(action.index)];
        table->scrollToRowAtIndexPath(path, platform::ui::TableViewScrollPosition::None, false);
        table->layoutIfNeeded();
        auto cell = table->cellForRowAtIndexPath(path);
        if (!cell) return false;
        tap = [this, cell] { return driver->tapView(cell); };
        break;
    }
    case Kind::Control: {
        const auto controls = controlsOf(page);
        if (static_cast<size_t>(action.index) >= controls.size()) return false;
        auto control = controls[static_cast<size_t>(action.index)];
        tap = [this, control] { return driver->tapView(control); };
        break;
    }
    case Kind::LeftBar:
    case Kind::RightBar: {
        const auto& item = page->navigationItem();
        auto bar = action.kind == Kind::LeftBar ? item->leftBarButtonItem() : item->rightBarButtonItem();
        if (!bar) return false;
        tap = [this, bar] { return driver->tap(bar); };
        break;
    }
    case Kind::Return: {
        auto fields = shownOn<platform::ui::TextField>(page);
        auto bars = shownOn<platform::ui::SearchBar>(page);
        if (!fields.empty()) {
            auto field = fields.back();
            tap = [this, field] { return driver->showKeyboard(field) && driver->pressReturn(field); };
        } else if (!bars.empty()) {
            auto bar = bars.back();
            tap = [this, bar] {
                const bool pressed = bar->pressSearch();
                driver->settle();
                return pressed;
            };
        } else {
            return false;
        }
        break;
    }
    }
    for (int round = 0; round < taps; ++round) tap();
    return true;
}

bool PageCrawl::switchTabAndBack(const ViewControllerPtr& page)
{
    auto tabs = page->tabBarController();
    if (!tabs || tabs->viewControllers().size() < 2) return false;
    const int shown = tabs->selectedIndex();
    driver->tapTab(tabs, shown == 0 ? 1 : 0);
    driver->settle();
    driver->tapTab(tabs, shown);
    driver->settle();
    return true;
}

bool PageCrawl::returnTo(const ViewControllerPtr& page)
{
    answerAlertsAndSheets();
    auto root = HalcyonDashboard::getRootController();
    auto navigation = page->navigationController();
    if (!root || !navigation) return false;
    for (const ViewControllerPtr& holder : {ViewControllerPtr(root), root->contentController(),
                                            ViewControllerPtr(navigation), page}) {
        if (holder && holder->modalViewController()) holder->dismissModalViewController(false);
    }
    if (auto tabs = page->tabBarController(); tabs && tabs->selectedViewController() != navigation)
        tabs->setSelectedViewController(navigation);
    if (navigation->topViewController() != page) navigation->popToViewController(page, false);
    settle();
    waitForReplies();
    return topPage() == page;
}

ViewControllerPtr PageCrawl::replay(const Route& route)
{
    answerAlertsAndSheets();
    Halcyon::dismissDashboard();
    settle();
    starts_[route.start].launch();
    settle();
    if (!rests(describe(Route{route.start, {}}))) return nullptr;
    auto page = topPage();
    for (const Action& step : route.steps) {
        if (!page || !perform(page, step, 1)) return nullptr;
        settle();
        if (!rests(describe(route))) return nullptr;
        answerAlertsAndSheets();
        page = topPage();
    }
    return page;
}

bool PageCrawl::atRest() const
{
    // Requests are waitForIdle's business: a room's poller keeps asking. A
    // page still sliding in has not started its load: that waits for its
    // appearance.
    auto table = topPageAs<HCTableControllerHelper>();
    return platform::ui::Transitions::pendingCount() == 0 && !showsLoadingScreen() &&
           !(table && table->isLoadingData()) && !Halcyon::isBootstrapInProgress();
}

bool PageCrawl::rests(const std::string& where)
{
    SCOPED_TRACE(where);
    const int failures = failuresSoFar();
    // The player waits as long as a page may take: its own timers and the
    // requests' time-outs run meanwhile. A reply that runs while the
    // requests are waited for may open a page (a kind's rooms, once
    // answered, push their list), so the screen rests only when it is
    // still at rest once every reply has run.
    bool rested = false;
    for (int round = 0; round < kPatienceRounds && failures == failuresSoFar(); ++round) {
        if (atRest()) {
            waitForIdle();
            answerAlertsAndSheets();
            waitForIdle();
            rested = atRest();
            if (rested) break;
        }
        // The tests' log-in chain starts nothing; a log-in a page asked for
        // ends as one that failed.
        if (Halcyon::isBootstrapInProgress()) Halcyon::sessionFailureWithException(nullptr);
        playWebPages();
        waitForReplies();
        settle();
    }
    if (rested && failures == failuresSoFar()) return true;
    ADD_FAILURE() << "the screen did not come to rest at " << where << "; the screen:\n"
                  << platform::ui::Driver::describeScreen();
    return false;
}

void PageCrawl::playWebPages()
{
    // No browser loads them here: the page side ends each load as the
    // network would.
    for (const auto& web : platform::ui::Driver::findAll<platform::ui::WebView>()) {
        if (!web->isLoading()) continue;
        if (service_ == Service::Normal)
            web->finishLoad();
        else
            web->failLoad(platform::NetError::make(platform::kNetErrorNetworkConnectionLost));
    }
}

void PageCrawl::answerAlertsAndSheets()
{
    // Bounded: an answer may raise the next question.
    for (int round = 0; round < 10; ++round) {
        if (auto alerts = platform::ui::AlertView::visibleAlerts(); !alerts.empty()) {
            const auto& alert = alerts.back();
            driver->answerAlert(alert, alert->cancelButtonIndex() >= 0 ? alert->cancelButtonIndex() : 0);
        } else if (auto sheets = platform::ui::ActionSheet::visibleSheets(); !sheets.empty()) {
            const auto& sheet = sheets.back();
            driver->answerSheet(sheet, sheet->cancelButtonIndex() >= 0 ? sheet->cancelButtonIndex() : 0);
        } else {
            return;
        }
        settle();
    }
}

void PageCrawl::failOnBlankPage(const ViewControllerPtr& page, const std::string& where)
{
    auto table = std::dynamic_pointer_cast<HCTableControllerHelper>(page);
    if (!table || !platform::ui::Driver::readTable(table->tableView()).empty()) return;
    if (!platform::ui::Driver::labelsText(page->view()).empty() || hasFields(page)) return;
    ADD_FAILURE() << "blank page " << pageKey(page) << " at " << where;
}

std::string PageCrawl::describe(const Route& route) const
{
    std::string text = starts_[route.start].name;
    for (const Action& step : route.steps) {
        text += " > " + step.label;
        if (step.text >= 0) text += " after hostile text #" + std::to_string(step.text);
    }
    return text;
}

std::string PageCrawl::pageKey(const ViewControllerPtr& page) const
{
    return page->kindName();
}

}  // namespace crawltest
