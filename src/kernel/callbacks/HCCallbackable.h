#pragma once
// Lets the target of a callback refuse delivery: pages answer no once they
// have left the screen, so replies to a closed page are dropped.
//
// Thread: asked on the callback's delivery thread.
class HCCallbackable {
public:
    virtual ~HCCallbackable() = default;
    virtual bool canReceiveCallbacksNow() const = 0;
};
