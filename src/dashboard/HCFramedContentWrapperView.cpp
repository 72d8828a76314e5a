#include "dashboard/HCFramedContentWrapperView.h"

#include "platform/runtime/ThreadChecker.h"

HCFramedContentWrapperView::HCFramedContentWrapperView(const platform::ui::Rect& frame) : View(frame)
{
    setAutoresizesSubviews(true);
}

std::shared_ptr<HCFramedContentWrapperView> HCFramedContentWrapperView::wrap(const platform::ui::ViewPtr& content)
{
    HC_CHECK_MAIN_THREAD();
    if (!content) {
        return nullptr;
    }
    const platform::ui::Rect frame = content->frame();
    auto wrapper = std::make_shared<HCFramedContentWrapperView>(frame);
    wrapper->setAutoresizingMask(content->autoresizingMask());
    content->removeFromSuperview();
    content->setFrame(platform::ui::Rect(0, 0, frame.width(), frame.height()).insetBy(kBorder, kBorder));
    content->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    wrapper->addSubview(content);
    wrapper->wrapped_ = content;
    return wrapper;
}
