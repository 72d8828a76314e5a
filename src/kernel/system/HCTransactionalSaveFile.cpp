#include "kernel/system/HCTransactionalSaveFile.h"

#include "platform/foundation/Sandbox.h"

// Joined as text, so that even a name starting with "/" lands inside Documents.
std::string HCTransactionalSaveFile::getSavePathForFile(const std::string& name)
{
    return platform::Sandbox::documentsPath() + "/" + name;
}
