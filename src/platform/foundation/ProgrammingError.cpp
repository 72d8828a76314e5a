#include "platform/foundation/ProgrammingError.h"

#include <mutex>

#include "platform/foundation/Log.h"

namespace platform {
namespace {
std::mutex& handlerMutex()
{
    static std::mutex m;
    return m;
}
ProgrammingErrorHandler& installedHandler()
{
    static ProgrammingErrorHandler handler;
    return handler;
}
}  // namespace

void reportProgrammingError(std::string_view text)
{
    ProgrammingErrorHandler handler;
    {
        std::lock_guard lock(handlerMutex());
        handler = installedHandler();
    }
    std::string message(text);
    if (handler)
        handler(message);
    else
        log(LogLevel::Error, "Programming error: " + message);
}

void setProgrammingErrorHandler(ProgrammingErrorHandler handler)
{
    std::lock_guard lock(handlerMutex());
    installedHandler() = std::move(handler);
}

}  // namespace platform
