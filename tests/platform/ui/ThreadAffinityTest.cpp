#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/Thread.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "support/TestSupport.h"

using namespace platform;
using namespace platform::ui;

#ifndef NDEBUG
TEST(ThreadAffinity, ViewsAndControllersMadeOrDestroyedOffTheMainThreadAreReported)
{
    std::vector<std::string> reports;
    setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    auto onMain = View::make(Rect(0, 0, 10, 10));
    auto controller = std::make_shared<ViewController>();
    EXPECT_TRUE(reports.empty());

    auto worker = Thread::start("request");
    bool done = false;
    worker->runLoop()->post([&] {
        View::make(Rect(0, 0, 1, 1));  // made and destroyed there
        controller.reset();            // the last reference ends there
        performOnMain([&] { done = true; });
    });
    bool finished = testsupport::runMainUntil([&] { return done; });
    setProgrammingErrorHandler(nullptr);
    ASSERT_TRUE(finished);
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_NE(reports[0].find("View::View"), std::string::npos) << reports[0];
    EXPECT_NE(reports[1].find("View::~View"), std::string::npos) << reports[1];
    EXPECT_NE(reports[2].find("ViewController::~ViewController"), std::string::npos) << reports[2];
}

// A label made on the main thread and changed from a reply's thread: both a
// setter defined in the header and one defined out of line report it.
TEST(ThreadAffinity, ALabelChangedOffTheMainThreadIsReported)
{
    auto label = Label::make(Rect(0, 0, 100, 20));
    const auto reports = testsupport::programmingErrorsOnAnotherThread([&] {
        label->setText("late");
        label->setHidden(true);
    });
    ASSERT_GE(reports.size(), 2u);
    EXPECT_NE(reports[0].find("Label::setText"), std::string::npos) << reports[0];
    EXPECT_NE(reports[1].find("View::setHidden"), std::string::npos) << reports[1];
}
#endif
