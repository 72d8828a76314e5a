#pragma once
// What the page demos share: the game's frames to wait on, a request's
// answer waited for, the page on top of the dashboard's active navigation,
// waiting for a page to come up, and reading and tapping its rows.
//
// Thread: main thread; a wait pumps the game's frames until its condition
// holds, at most `frames` of them and not past the deadline.
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "kernel/callbacks/HCDelegate.h"
#include "platform/runtime/Object.h"

class HCViewController;

struct DemoFrames {
    std::function<void(const std::string&)> say;
    // Pumps one frame, or less when the condition answers yes first.
    std::function<void(const std::function<bool()>&)> frame;
    int frames = 0;
    // The clock time (platform::Clock::currentTime) after which no wait
    // goes on, whatever its own bound: a part of the run bounded as a whole.
    double deadline = std::numeric_limits<double>::infinity();
};

// Pumps frames until `done`, at most `frames` of them and not past the
// deadline; answers `done`.
bool waitUntil(const DemoFrames& demo, const std::function<bool()>& done);
// Whether the deadline is still ahead.
bool timeLeft(const DemoFrames& demo);
// Starts a request with its success and failure delegates and waits for its
// answer: the success's object, nil after a failure or when the wait ended
// first. The answer lands in a holder the delegates share, so a reply that
// comes after the wait gave up finds it still there.
platform::ObjectPtr await(const DemoFrames& demo, const std::function<void(HCDelegate, HCDelegate)>& start);
// The page on top of the dashboard's active navigation; nil when none.
std::shared_ptr<HCViewController> top();
// The page of this class (kindName) is on top, its loading screen down, its
// table (if it is a table page) loaded, `shows` holds, and nothing is asked
// of the service. Says "<kind> did not come up" when it does not.
bool waitFor(const DemoFrames& demo, const std::string& kind, const std::function<bool()>& shows = {});
// The rows of the table page on top, one line each; none when no table is on top.
std::vector<std::string> rows();
// Says "<area>: <heading>", then each row of the table on top, indented.
void printRows(const DemoFrames& demo, const std::string& area, const std::string& heading);
// Selects the first row of the table on top that shows `text`; false when none does.
bool selectRowShowing(const std::string& text);
// Opens the dashboard on `tab` and pushes the page the loader makes for
// `loaderName` on it; says "<area>: the page did not open" and answers false
// when either does not come.
bool pushPageOnTab(const DemoFrames& demo, const std::string& tab, const std::string& loaderName,
                   const std::string& area);
// Closes the dashboard and waits until it is gone.
bool closeDashboard(const DemoFrames& demo);
