#pragma once
// A table page's header (a controller or a view loaded by name) that adapts
// to the page: resizeView is called once after the header is made, with the
// page's view (or, when the dashboard wraps that view, the content inside the
// wrapper), and the header takes its width.
//
// The page that made the header is its owner: set before the header's view
// loads, not retained, so the header reaches the page while it lives and
// finds nil once it is gone (or when it stands alone, or the page cleared
// the slot).
//
// Thread: main thread.
#include <memory>

#include "platform/ui/View.h"

class HCTableControllerHeader {
public:
    virtual ~HCTableControllerHeader() = default;
    virtual void resizeView(const platform::ui::ViewPtr& pageView) = 0;

    platform::ObjectPtr tablePage() const { return tablePage_.lock(); }
    void setTablePage(const platform::ObjectPtr& page) { tablePage_ = page; }

private:
    std::weak_ptr<platform::Object> tablePage_;
};
