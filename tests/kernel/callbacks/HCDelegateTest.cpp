#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "kernel/callbacks/HCDelegate.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/foundation/Values.h"
#include "support/TestSupport.h"

using platform::ObjectPtr;
using platform::String;

namespace {

class Page : public platform::Object, public HCCallbackable {
public:
    bool canReceiveCallbacksNow() const override { return onScreen; }

    void didLoad(std::shared_ptr<String> text)
    {
        received.push_back(text ? text->value() : "(nil)");
        threads.push_back(platform::Thread::current());
    }
    void didLoadWithUser(std::shared_ptr<String> text, std::shared_ptr<String> user)
    {
        received.push_back(text->value() + "/" + (user ? user->value() : "(nil)"));
    }
    void step(std::shared_ptr<String> text, std::shared_ptr<HCDelegateChained> next)
    {
        received.push_back("step:" + text->value());
        next->invokeWith(String::make(text->value() + "+"));
    }

    std::atomic<bool> onScreen{true};
    std::vector<std::string> received;
    std::vector<platform::ThreadPtr> threads;
};

}  // namespace

TEST(HCDelegate, DeliversOnTheMainThreadOnlyAfterInvokeReturns)
{
    HCDelegate empty;
    empty.invoke(String::make("ignored"));
    EXPECT_EQ(testsupport::drainMain(), 0) << "an empty delegate posts nothing";

    auto page = std::make_shared<Page>();
    HCDelegate d(page, &Page::didLoad);
    d.invoke(String::make("a"));
    HCDelegate(d).invoke(String::make("b"));
    EXPECT_TRUE(page->received.empty());
    testsupport::drainMain();
    EXPECT_EQ(page->received, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(page->threads.front(), platform::Thread::mainThread());
}

TEST(HCDelegate, DeliversOnTheGivenThread)
{
    auto worker = platform::Thread::start("request");
    auto page = std::make_shared<Page>();
    HCDelegate d(page, &Page::didLoad, worker);
    std::atomic<bool> done{false};
    worker->runLoop()->post([&] {});
    d.invoke(String::make("x"));
    worker->runLoop()->post([&] { done = true; });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return done.load(); }));
    worker->cancel();
    ASSERT_EQ(page->threads.size(), 1u);
    EXPECT_EQ(page->threads[0], worker);
}

TEST(HCDelegate, TargetThatRefusesAtDeliveryTimeIsSkipped)
{
    auto page = std::make_shared<Page>();
    HCDelegate d(page, &Page::didLoad);
    d.invoke(String::make("late"));
    // The page leaves the screen between invoke and delivery.
    page->onScreen = false;
    testsupport::drainMain();
    EXPECT_TRUE(page->received.empty());

    page->onScreen = true;
    d.invoke(String::make("back"));
    testsupport::drainMain();
    EXPECT_EQ(page->received, (std::vector<std::string>{"back"}));
}

TEST(HCDelegate, ChainedStepHandsItsResultOnAndTheUserObjectIsTheSecondArgument)
{
    auto page = std::make_shared<Page>();
    HCDelegate last(page, &Page::didLoad);
    HCDelegate first(page, &Page::step, last);
    first.invoke(String::make("r"));
    HCDelegate(page, &Page::didLoadWithUser, ObjectPtr(String::make("u"))).invoke(String::make("v"));
    testsupport::drainMain();
    EXPECT_EQ(page->received, (std::vector<std::string>{"step:r", "v/u", "r+"}));
}

TEST(HCDelegate, NonNilParameterOfAnotherTypeIsReportedAndArrivesAsNil)
{
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    auto page = std::make_shared<Page>();
    HCDelegate d(page, &Page::didLoad);
    d.invoke(nullptr);
    d.invoke(platform::Number::make(3));
    HCDelegate withUser(page, &Page::didLoadWithUser, ObjectPtr(platform::Number::make(4)));
    withUser.invoke(String::make("v"));
    testsupport::drainMain();
    platform::setProgrammingErrorHandler(nullptr);
    EXPECT_EQ(page->received, (std::vector<std::string>{"(nil)", "(nil)", "v/(nil)"}));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[0].find("takes a platform::String as its parameter but was given a platform::Number"),
              std::string::npos)
        << reports[0];
    EXPECT_NE(reports[1].find("as its extra argument"), std::string::npos) << reports[1];
}

TEST(HCDelegate, TargetWhoseLastCopyEndsOnAnotherThreadIsReleasedOnTheDeliveryThread)
{
    // A page popped while its request runs: the request thread drops the
    // last copy of the delegate. The page must still end on the main thread.
    struct Watched : Page {
        std::vector<platform::ThreadPtr>* endedOn = nullptr;
        ~Watched() override { endedOn->push_back(platform::Thread::current()); }
    };
    std::vector<platform::ThreadPtr> endedOn;  // unguarded: TSan flags an end on the request thread
    auto request = platform::Thread::start("request");
    auto held = [&] {
        auto page = std::make_shared<Watched>();
        page->endedOn = &endedOn;
        return std::make_shared<HCDelegate>(std::shared_ptr<Page>(page), &Page::didLoad);
    }();
    std::atomic<bool> dropped{false};
    request->runLoop()->post([&] {
        held.reset();
        dropped = true;
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return dropped.load(); }));
    testsupport::drainMain();
    ASSERT_EQ(endedOn.size(), 1u);
    EXPECT_EQ(endedOn[0], platform::Thread::mainThread());
}

TEST(HCDelegate, DeliverNowCallsNamedDelegatesInsideTheCallOnTheirThreadOnly)
{
    auto page = std::make_shared<Page>();
    HCDelegate named(page, &Page::didLoad);
    HCDelegate other(page, &Page::didLoad);
    {
        HCDelegate::DeliverNow now({named});
        HCDelegate(named).invoke(String::make("copy of named"));
        other.invoke(String::make("other"));
        EXPECT_EQ(page->received, std::vector<std::string>{"copy of named"});
        page->onScreen = false;
        named.invoke(String::make("refused"));
        page->onScreen = true;
        // From another thread the named delegate still waits for its own thread.
        auto worker = platform::Thread::start("worker");
        std::atomic<bool> posted{false};
        worker->runLoop()->post([&] {
            named.invoke(String::make("from worker"));
            posted = true;
        });
        while (!posted.load()) std::this_thread::yield();
        worker->cancel();
        EXPECT_EQ(page->received.size(), 1u);
    }
    named.invoke(String::make("after"));
    EXPECT_EQ(page->received.size(), 1u) << "the scope ended: back to posting";
    testsupport::drainMain();
    EXPECT_EQ(page->received, (std::vector<std::string>{"copy of named", "other", "from worker", "after"}));
}

TEST(HCDelegate, InvokeNowCallsAtOnceOnlyOnTheDeliveryThread)
{
    auto page = std::make_shared<Page>();
    HCDelegate onMain(page, &Page::didLoad);
    onMain.invokeNow(String::make("now"));
    EXPECT_EQ(page->received, std::vector<std::string>{"now"});

    auto worker = platform::Thread::start("request");
    HCDelegate onWorker(page, &Page::didLoad, worker);
    onWorker.invokeNow(String::make("later"));
    std::atomic<bool> done{false};
    worker->runLoop()->post([&] { done = true; });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return done.load(); }));
    worker->cancel();
    ASSERT_EQ(page->threads.size(), 2u);
    EXPECT_EQ(page->threads[1], worker);
}
