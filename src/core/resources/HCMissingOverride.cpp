#include "core/resources/HCMissingOverride.h"

#include "platform/foundation/Format.h"
#include "platform/foundation/ProgrammingError.h"

void HCReportMissingOverride(const char* source, const std::string& receiverClassName, const char* methodName)
{
    platform::reportProgrammingError(std::string(source) + ": " +
                                     platform::format("Controller '%s' forgot to override '%s'", receiverClassName,
                                                      methodName));
}
