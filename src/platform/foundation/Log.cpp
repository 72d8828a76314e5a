#include "platform/foundation/Log.h"

#include <cstdio>
#include "platform/runtime/Guarded.h"

namespace platform {
namespace {
#ifdef NDEBUG
constexpr bool kReleaseBuild = true;
#else
constexpr bool kReleaseBuild = false;
#endif

Guarded<LogSink>& installedSink()
{
    static Guarded<LogSink> sink;
    return sink;
}
}  // namespace

const char* logLevelName(LogLevel level)
{
    switch (level) {
    case LogLevel::Debug: return "debug";
    case LogLevel::Info: return "info";
    case LogLevel::Warning: return "warning";
    case LogLevel::Error: return "error";
    }
    return "?";
}

LogLevel defaultLogLevel(bool releaseBuild)
{
    return releaseBuild ? LogLevel::Info : LogLevel::Debug;
}

void log(LogLevel level, std::string_view text)
{
    LogSink sink = installedSink().get();
    std::string line(text);
    if (sink) {
        sink(level, line);
        return;
    }
    if (level < defaultLogLevel(kReleaseBuild)) return;
    // One write per line so that lines from two threads do not interleave.
    std::string out = std::string("[") + logLevelName(level) + "] " + line + "\n";
    std::fwrite(out.data(), 1, out.size(), stderr);
}

void setLogSink(LogSink sink)
{
    installedSink().set(std::move(sink));
}

}  // namespace platform
