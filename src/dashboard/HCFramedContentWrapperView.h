#pragma once
// The frame the dashboard draws around a page's content: the content view
// sits inside it, inset by the frame's border, and follows its size. What
// sizes itself to the page (a table's header) measures the wrapped view.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/View.h"
#include "uiframework/HCContentWrapping.h"

class HCFramedContentWrapperView : public platform::ui::View, public HCContentWrapping {
public:
    static constexpr double kBorder = 4;

    // A wrapper of `content`'s frame, holding `content` inset by the border.
    static std::shared_ptr<HCFramedContentWrapperView> wrap(const platform::ui::ViewPtr& content);

    explicit HCFramedContentWrapperView(const platform::ui::Rect& frame = platform::ui::Rect());
    platform::ui::ViewPtr wrappedView() const override { return wrapped_; }
    std::string kindName() const override { return "HCFramedContentWrapperView"; }

private:
    platform::ui::ViewPtr wrapped_;
};
