#pragma once
// The pending friends count as the friends and profile pages change it:
// one request more or less. The count is a number of players, so a page
// that lowers it past what the service last said stops at 0 instead of
// storing a negative count that every badge would then show.
//
// Thread: main thread.
class HCPendingFriends {
public:
    static void lowerByOne();
    static void raiseByOne();
};
