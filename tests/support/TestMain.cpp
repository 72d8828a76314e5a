#include <gtest/gtest.h>

#include <iostream>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/Thread.h"

namespace {

// A programming error that no test asked for (a thread check that failed, a
// hook not overridden) fails the program, so the checks are enforced by
// every test and not only logged. A test that expects reports installs its
// own handler, which replaces this one for as long as it is installed.
class UnexpectedProgrammingErrors : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            reports_.clear();
        }
        platform::setProgrammingErrorHandler([this](const std::string& text) {
            std::lock_guard<std::mutex> lock(mutex_);
            reports_.push_back(text);
        });
    }

    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& text : reports_) {
            std::cerr << test.test_suite_name() << "." << test.name()
                      << ": unexpected programming error: " << text << "\n";
            failed_ = true;
        }
        reports_.clear();
    }

    bool failed() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return failed_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> reports_;
    bool failed_ = false;
};

}  // namespace

// The thread that runs the tests is the main thread: callbacks bound to "the
// main thread" arrive when a test pumps it with runMainUntil().
int main(int argc, char** argv)
{
    platform::Thread::adoptCurrentAsMain();
    ::testing::InitGoogleTest(&argc, argv);
    auto* errors = new UnexpectedProgrammingErrors;  // the listener list owns it
    ::testing::UnitTest::GetInstance()->listeners().Append(errors);
    const int result = RUN_ALL_TESTS();
    platform::setProgrammingErrorHandler(nullptr);
    if (result == 0 && errors->failed()) return 1;
    return result;
}
