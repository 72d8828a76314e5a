#pragma once
// Where the user options (the local user, the counts, the choices) are
// kept: the platform's standard user defaults, one store for every file of
// the Halcyon class that reads or writes them.
//
// Thread: any (the user defaults lock themselves).
#include <memory>

#include "platform/foundation/UserDefaults.h"

inline std::shared_ptr<platform::UserDefaults> userOptionsStore()
{
    return platform::UserDefaults::standardUserDefaults();
}
