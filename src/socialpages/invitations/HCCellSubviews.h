#pragma once
// A cell's subviews join it when it is first filled: a view joins its parent
// only once the parent is shared, which a cell is not while it is built.
//
// Thread: main thread.
#include <initializer_list>

#include "uiframework/table/HCTableCellHelper.h"

inline void adoptSubviews(HCTableCellHelper& cell, std::initializer_list<platform::ui::ViewPtr> views)
{
    if (views.size() == 0 || (*views.begin())->superview()) return;
    for (const auto& view : views) cell.contentView()->addSubview(view);
}
