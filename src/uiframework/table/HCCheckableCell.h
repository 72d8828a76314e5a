#pragma once
// A row the player ticks and unticks (a friend or a contact to invite); the
// pickers tick it through this, whatever cell the loader made for the row.
//
// Thread: main thread.
class HCCheckableCell {
public:
    virtual ~HCCheckableCell() = default;
    virtual void setChecked(bool checked) = 0;
    virtual bool checked() const = 0;
};
