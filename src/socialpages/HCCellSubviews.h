#pragma once
// The social pages' cells build their subviews in the constructor but add
// them on the first fill: a view joins its parent only once it is shared.
//
// Thread: main thread.
#include <initializer_list>

#include "uiframework/table/HCTableCellHelper.h"

inline void adoptCellSubviews(HCTableCellHelper& cell, std::initializer_list<platform::ui::ViewPtr> views)
{
    if (views.size() == 0 || (*views.begin())->superview()) return;
    for (const auto& view : views) cell.contentView()->addSubview(view);
}
