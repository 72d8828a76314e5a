#include "platform/foundation/ProgrammingError.h"


#include "platform/foundation/Log.h"
#include "platform/runtime/Guarded.h"

namespace platform {
namespace {
Guarded<ProgrammingErrorHandler>& installedHandler()
{
    static Guarded<ProgrammingErrorHandler> handler;
    return handler;
}
}  // namespace

void reportProgrammingError(std::string_view text)
{
    ProgrammingErrorHandler handler = installedHandler().get();
    std::string message(text);
    if (handler)
        handler(message);
    else
        log(LogLevel::Error, "Programming error: " + message);
}

void setProgrammingErrorHandler(ProgrammingErrorHandler handler)
{
    installedHandler().set(std::move(handler));
}

}  // namespace platform
