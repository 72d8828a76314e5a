#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/NotificationCenter.h"

using namespace platform;

TEST(NotificationCenter, AnObserverOfOneObjectHearsOnlyThatObjectEvenAfterItIsGone)
{
    NotificationCenter center;
    int observer = 0;
    std::vector<std::string> heard;
    auto sender = String::make("sender");
    center.addObserver(&observer, "changed", [&](const Notification& n) { heard.push_back(textOf(n.object).value_or("nil")); },
                       sender);

    center.post("changed", sender);
    center.post("changed", String::make("someone else"));
    center.post("changed");
    sender.reset();
    center.post("changed");
    center.post("changed", String::make("after"));
    EXPECT_EQ(heard, (std::vector<std::string>{"sender"}));
}

TEST(NotificationCenter, AnObserverRemovedByAnEarlierHandlerOfTheSamePostIsSkipped)
{
    NotificationCenter center;
    int first = 0, second = 0;
    std::vector<std::string> heard;
    center.addObserver(&first, "went", [&](const Notification&) {
        heard.push_back("first");
        center.removeObserver(&second);
    });
    center.addObserver(&second, "went", [&](const Notification&) { heard.push_back("second"); });
    center.post("went");
    EXPECT_EQ(heard, (std::vector<std::string>{"first"}));
    EXPECT_EQ(center.observerCount("went"), 1u);
}

TEST(NotificationCenter, RemoveObserverWaitsForItsHandlerRunningOnAnotherThread)
{
    NotificationCenter center;
    int observer = 0;
    std::atomic<bool> inHandler{false}, removeCalled{false}, removeReturned{false}, returnedWhileRunning{false};
    center.addObserver(&observer, "went", [&](const Notification&) {
        inHandler = true;
        while (!removeCalled) std::this_thread::yield();
        // Gives a removal that does not wait every chance to return meanwhile.
        for (int i = 0; i < 2000 && !removeReturned; ++i) std::this_thread::yield();
        returnedWhileRunning = removeReturned.load();
    });
    std::thread poster([&] { center.post("went"); });
    while (!inHandler) std::this_thread::yield();
    removeCalled = true;
    center.removeObserver(&observer);
    removeReturned = true;
    poster.join();
    EXPECT_FALSE(returnedWhileRunning.load());
}
