// A held request's hold, taken by its connection thread, and its wait are
// two calls; here the test makes them itself, in each order that a test's
// release, clear() and interrupt can fall between them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ostream>
#include <thread>

#include "localserver/Faults.h"

using namespace localserver;

namespace {

enum class Wait { Released, Ended, Held };

std::ostream& operator<<(std::ostream& out, Wait wait)
{
    return out << (wait == Wait::Released ? "released" : wait == Wait::Ended ? "ended" : "held");
}

class FaultsTest : public ::testing::Test {
protected:
    // The hold of a held request to "echo", taken as the server takes it.
    std::uint64_t takeHold()
    {
        faults.injectFor("GET", "echo", Fault::heldBack());
        const auto taken = faults.take("GET", "echo");
        EXPECT_TRUE(taken && taken->fault.held);
        return taken ? taken->hold : 0;
    }
    // Waits on a thread of its own, while no other request waits: Released
    // or Ended when the wait returned true or false by itself, Held when it
    // began to wait for a release (it is then let go).
    Wait waitOnce(std::uint64_t hold)
    {
        std::atomic<bool> returned = false;
        bool released = false;
        std::thread waiter([&] {
            released = faults.waitUntilReleased(hold);
            returned = true;
        });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!returned && faults.heldCount() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        const bool held = !returned;
        if (held) faults.releaseHeld();
        waiter.join();
        return held ? Wait::Held : released ? Wait::Released : Wait::Ended;
    }

    Faults faults;
};

TEST_F(FaultsTest, AHoldTakenBeforeClearKeepsTheReleaseGivenForItHoweverTheyFall)
{
    {
        SCOPED_TRACE("released after its hold was taken, then cleared");
        const auto hold = takeHold();
        faults.releaseHeld();
        faults.clear();
        EXPECT_EQ(waitOnce(hold), Wait::Released);
    }
    {
        SCOPED_TRACE("released before its request came, then cleared after the hold was taken");
        faults.injectFor("GET", "echo", Fault::heldBack());
        faults.releaseHeld();
        const auto taken = faults.take("GET", "echo");
        ASSERT_TRUE(taken);
        faults.clear();
        EXPECT_EQ(waitOnce(taken->hold), Wait::Released);
    }
    {
        SCOPED_TRACE("cleared after the hold was taken, then released");
        const auto hold = takeHold();
        faults.clear();
        faults.releaseHeld();
        EXPECT_EQ(waitOnce(hold), Wait::Released);
    }
}

TEST_F(FaultsTest, ClearForgetsOnlyTheReleasesNoHoldClaimed)
{
    const auto first = takeHold();
    const auto second = takeHold();
    faults.releaseHeld(3);  // one each, and one for a request still to come
    faults.clear();
    EXPECT_EQ(waitOnce(second), Wait::Released);
    EXPECT_EQ(waitOnce(first), Wait::Released);
    EXPECT_EQ(waitOnce(takeHold()), Wait::Held) << "the release no request had claimed outlived clear()";

    // One release for two holds lets exactly one of them through.
    const auto third = takeHold();
    const auto fourth = takeHold();
    faults.releaseHeld();
    faults.clear();
    const Wait thirdWait = waitOnce(third);
    const Wait fourthWait = waitOnce(fourth);
    EXPECT_NE(thirdWait, fourthWait);
    EXPECT_TRUE(thirdWait == Wait::Released || fourthWait == Wait::Released);
    EXPECT_TRUE(thirdWait == Wait::Held || fourthWait == Wait::Held);
}

// Tests interrupt waits and allow them again at once, while a request may be
// between its hold and its wait.
TEST_F(FaultsTest, AnInterruptEndsAHoldNotYetWaitedOnAndTheReleaseGivenAfterGoesToTheNext)
{
    const auto before = takeHold();
    faults.interruptWaits();
    const auto during = takeHold();
    faults.allowWaits();
    faults.releaseHeld();
    EXPECT_EQ(waitOnce(before), Wait::Ended) << "a hold taken before the interrupt outlived it";
    EXPECT_EQ(waitOnce(during), Wait::Ended) << "a hold taken while waits were interrupted outlived it";
    EXPECT_EQ(waitOnce(takeHold()), Wait::Released) << "an ended hold took the release";
}

TEST_F(FaultsTest, AHoldNeverTakenOrAlreadyWaitedOnEndsAtOnce)
{
    faults.releaseHeld(2);
    EXPECT_EQ(waitOnce(0), Wait::Ended);
    EXPECT_EQ(waitOnce(12345), Wait::Ended);
    const auto hold = takeHold();
    EXPECT_EQ(waitOnce(hold), Wait::Released);
    EXPECT_EQ(waitOnce(hold), Wait::Ended) << "one hold went through twice";
    EXPECT_EQ(waitOnce(takeHold()), Wait::Released) << "a bad hold used up a release";
}

}  // namespace
