#pragma once
// The rows of address-book contacts: the contact's name, number or e-mail
// address with its icon, and picture ("Contact"); the same with a tick box
// ("SelectableContact").
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCCheckableCell.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCContactCell : public HCTableCellHelper {
public:
    HCContactCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCContactCell"; }

protected:
    std::shared_ptr<HCImageView> profilePictureView_;
    std::shared_ptr<platform::ui::Label> nameLabel_, numberOrEmail_;
    std::shared_ptr<platform::ui::ImageView> phoneOrEmailIcon_;
};

class HCSelectableContactCell : public HCContactCell, public HCCheckableCell {
public:
    HCSelectableContactCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    void setChecked(bool checked) override;
    bool checked() const override { return checked_; }
    std::string kindName() const override { return "HCSelectableContactCell"; }

private:
    std::shared_ptr<HCImageView> checkbox_;
    bool checked_ = false;
};
