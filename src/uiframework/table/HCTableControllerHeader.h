#pragma once
// A table page's header (a controller or a view loaded by name) that adapts
// to the page: resizeView is called once after the header is made, with the
// page's view (or, when the dashboard wraps that view, the content inside the
// wrapper), and the header takes its width.
//
// Thread: main thread.
#include "platform/ui/View.h"

class HCTableControllerHeader {
public:
    virtual ~HCTableControllerHeader() = default;
    virtual void resizeView(const platform::ui::ViewPtr& pageView) = 0;
};
