#pragma once
// A page that a dashboard launch tells once it has pushed it: what the page
// shows follows its navigation controller (the compared player), which it
// has only from then on.
//
// Thread: main thread.
class HCPostPushPage {
public:
    virtual ~HCPostPushPage() = default;
    virtual void postPush() = 0;
};
