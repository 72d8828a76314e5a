#pragma once
// Makes the invitation pages known to the controller loader and lets the
// invite service open the invite flow modally.
//
// Thread: main thread.
class HCInvitationPages {
public:
    static void registerClasses();
};
