#pragma once
// The background of the dashboard's table cells: an image stretched over
// the whole cell (setImage, inherited, sets it).
//
// Thread: main thread.
#include <memory>

#include "platform/ui/ImageView.h"

class HCTableCellBackgroundView final : public platform::ui::ImageView {
public:
    using platform::ui::ImageView::ImageView;
    // A new background that follows its cell's size.
    static std::shared_ptr<HCTableCellBackgroundView> defaultBackgroundView();
    std::string kindName() const override { return "HCTableCellBackgroundView"; }
};
