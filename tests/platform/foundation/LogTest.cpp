#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/foundation/ProgrammingError.h"

using namespace platform;

namespace {
class CapturedLog {
public:
    CapturedLog()
    {
        setLogSink([this](LogLevel level, const std::string& line) { lines.emplace_back(level, line); });
    }
    ~CapturedLog() { setLogSink(nullptr); }
    std::vector<std::pair<LogLevel, std::string>> lines;
};
}  // namespace

TEST(ProgrammingError, ReportsAreLoggedAsErrorsUnlessAHandlerIsInstalled)
{
    CapturedLog log;
    std::vector<std::string> reported;
    setProgrammingErrorHandler([&](const std::string& text) { reported.push_back(text); });
    reportProgrammingError("broken");
    setProgrammingErrorHandler(nullptr);
    reportProgrammingError("Controller 'X' forgot to override 'y'");
    EXPECT_EQ(reported, (std::vector<std::string>{"broken"}));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].first, LogLevel::Error);
    EXPECT_NE(log.lines[0].second.find("Controller 'X' forgot to override 'y'"), std::string::npos);
}
