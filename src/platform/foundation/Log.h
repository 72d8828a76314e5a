#pragma once
// Diagnostic lines for the developer: one line per call, with a level.
//
// Lines go to stderr unless a sink is installed (tests install one to capture
// what was logged). A sink must not log from inside itself. A sink hears
// every level; the stderr writer prints from the build's default level up:
// a release build (NDEBUG) keeps the debug lines out of a game's output.
//
// Thread: any thread; the sink runs on the thread that logs.
#include <functional>
#include <string>
#include <string_view>

namespace platform {

enum class LogLevel { Debug, Info, Warning, Error };

using LogSink = std::function<void(LogLevel, const std::string& line)>;

void log(LogLevel level, std::string_view text);
// nullptr restores the stderr writer.
void setLogSink(LogSink sink);
const char* logLevelName(LogLevel level);
// The lowest level the stderr writer prints: information in a release
// build, everything in a debug build.
LogLevel defaultLogLevel(bool releaseBuild);

}  // namespace platform
