#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "support/TestSupport.h"

using namespace platform;

namespace {
struct Ledger {
    ThreadChecker checker;
    void touch() { HC_CHECK_THREAD(checker); }
};

void touchFromMain() { HC_CHECK_MAIN_THREAD(); }

// Runs `task` on a fresh started thread and waits for it.
void runOn(const std::string& name, std::function<void()> task)
{
    auto worker = Thread::start(name);
    bool done = false;
    worker->runLoop()->post([&] {
        task();
        performOnMain([&] { done = true; });
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return done; }));
}

class ThreadCheckerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setProgrammingErrorHandler([this](const std::string& text) { reports.push_back(text); });
    }
    void TearDown() override { setProgrammingErrorHandler(nullptr); }
    std::vector<std::string> reports;
};
}  // namespace

#ifndef NDEBUG
TEST_F(ThreadCheckerTest, UseFromAnotherThreadIsReportedNamingTheMethodAndBothThreads)
{
    Ledger ledger;
    ledger.touch();  // binds to the main thread
    runOn("request", [&] { ledger.touch(); });
    runOn("request", [] { touchFromMain(); });
    ASSERT_EQ(reports.size(), 2u);
    for (const auto& text : reports) {
        EXPECT_NE(text.find("thread \"request\""), std::string::npos) << text;
        EXPECT_NE(text.find("belongs to thread \"main\""), std::string::npos) << text;
    }
    EXPECT_NE(reports[0].find("Ledger::touch"), std::string::npos) << reports[0];
    EXPECT_NE(reports[1].find("touchFromMain"), std::string::npos) << reports[1];
    ledger.touch();
    touchFromMain();
    EXPECT_EQ(reports.size(), 2u);
}

TEST_F(ThreadCheckerTest, DetachedCheckerRebindsToItsNextUserAndBindNamesTheOwner)
{
    Ledger ledger;
    ledger.touch();
    ledger.checker.detach();
    runOn("new-owner", [&] { ledger.touch(); });
    EXPECT_TRUE(reports.empty());
    ledger.touch();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("belongs to thread \"new-owner\""), std::string::npos) << reports[0];

    auto worker = Thread::start("bound");
    ledger.checker.bind(worker);
    ledger.touch();
    EXPECT_EQ(reports.size(), 2u);
}
#endif
