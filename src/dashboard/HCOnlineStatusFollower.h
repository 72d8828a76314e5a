#pragma once
// A page that redraws itself when the client goes online or offline; the
// dashboard tells every such page of its tabs when the connection changes.
//
// Thread: main thread.
class HCOnlineStatusFollower {
public:
    virtual ~HCOnlineStatusFollower() = default;
    virtual void setOnlineStatus(bool online) = 0;
};
