#pragma once
// The send and result screens the challenge service shows over the
// dashboard, each in a framed navigation controller with a close button:
// "Challenge Friends" to send; after a won multi-attempt challenge
// "Challenge Result" (the send page with the result header, to send the
// result back); after any other attempt the result header alone.
//
// Thread: main thread.
#include "scores/challenges/HCChallengeService.h"

class HCChallengeModals {
public:
    static HCChallengeScreens screens();
};
