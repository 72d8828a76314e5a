#pragma once
// The presence service's hooks as this client answers them: the provider's
// token, the player and post classes read from messages, the friend-presence
// notification, and the notices "%@ is online" and "New message from %@"
// (there is no inbox page in this build to open from them).
//
// Thread: built on the main thread at start-up; see HCPresenceHooks for
// where each hook runs.
#include "transport/presence/HCPresenceHooks.h"

HCPresenceHooks HCClientPresenceHooks();
