#pragma once
// The base of cells that carry action buttons (accept, decline, ...): a
// button's tap, wired to buttonPressed, tells the owning table page which
// action (the button's tag) was pressed on which row.
//
// Thread: main thread.
#include "uiframework/table/HCTableCellHelper.h"

class HCTableCellHelperActionCell : public HCTableCellHelper {
public:
    using HCTableCellHelper::HCTableCellHelper;

    // Sends the owner actionPressedForTag(button's tag, this cell's row);
    // nothing when the owner is gone or the cell is not in its table.
    void buttonPressed(const platform::ui::View& button);
    std::string kindName() const override { return "HCTableCellHelperActionCell"; }
};
