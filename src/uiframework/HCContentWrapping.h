#pragma once
// A view that wraps a page's content (the dashboard's frame does): what
// sizes itself to the page measures the wrapped view, not the frame.
//
// Thread: main thread.
#include "platform/ui/View.h"

class HCContentWrapping {
public:
    virtual ~HCContentWrapping() = default;
    virtual platform::ui::ViewPtr wrappedView() const = 0;
};
