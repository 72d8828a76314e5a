#pragma once
// The process-wide slot holding the one Halcyon instance, shared by the
// class's source files. Set by start-up, cleared by shut-down.
//
// Thread: any thread (the slot locks).
#include <memory>

#include "platform/runtime/Guarded.h"

class Halcyon;

platform::Guarded<std::shared_ptr<Halcyon>>& halcyonInstanceSlot();
