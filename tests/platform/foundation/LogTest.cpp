#include <gtest/gtest.h>

#include <string>
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

// With no sink, a release build (the installed package a game links) keeps
// the client's debug lines out of the game's output and prints the rest; a
// debug build prints every level.
TEST(Log, TheStderrWriterLeavesDebugLinesToDebugBuilds)
{
    EXPECT_EQ(defaultLogLevel(true), LogLevel::Info);
    EXPECT_EQ(defaultLogLevel(false), LogLevel::Debug);
#ifdef NDEBUG
    const bool releaseBuild = true;
#else
    const bool releaseBuild = false;
#endif
    setLogSink(nullptr);
    testing::internal::CaptureStderr();
    log(LogLevel::Debug, "the manifest did not come");
    log(LogLevel::Info, "connection ended");
    log(LogLevel::Warning, "no tab list");
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.find("[debug] the manifest did not come\n") != std::string::npos, !releaseBuild) << printed;
    EXPECT_NE(printed.find("[info] connection ended\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("[warning] no tab list\n"), std::string::npos) << printed;
}
