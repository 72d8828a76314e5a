#pragma once
// What the nib registry tells every object it built, once the whole nib is
// built and connected (see NibRegistry.h). Views and controllers take it; any
// other object a nib builds may too.
//
// Thread: main thread only.

namespace platform::ui {

class AwakeFromNib {
public:
    virtual ~AwakeFromNib() = default;
    virtual void awakeFromNib() {}
};

}  // namespace platform::ui
