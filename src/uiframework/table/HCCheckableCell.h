#pragma once
// A row that shows whether its resource is chosen (a player picked from a
// list), so a page below the row's own layer can check and uncheck it.
//
// Thread: main thread.

class HCCheckableCell {
public:
    virtual ~HCCheckableCell() = default;
    virtual void setChecked(bool checked) = 0;
};
