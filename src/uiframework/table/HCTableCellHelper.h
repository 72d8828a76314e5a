#pragma once
// The base of every table page's cell: the page fills it from one resource
// (setResource, which calls the onResourceChanged hook) and the cell knows
// the page that loaded it (owner, not retained).
//
// A cell whose height does not depend on its resource answers
// hasConstantHeight() YES and the page keeps its nib height for every row;
// a cell of variable height sets its own frame height in onResourceChanged.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/TableViewCell.h"

class HCTableCellHelper : public platform::ui::TableViewCell {
public:
    explicit HCTableCellHelper(platform::ui::TableViewCellStyle style = platform::ui::TableViewCellStyle::Default,
                               std::string reuseIdentifier = {});

    // The page that loaded the cell, or nil once it is gone.
    platform::ObjectPtr owner() const { return owner_.lock(); }
    void setOwner(const platform::ObjectPtr& owner) { owner_ = owner; }

    const platform::ObjectPtr& resource() const { return resource_; }
    // Keeps the resource, then onResourceChanged.
    void setResource(const platform::ObjectPtr& resource);

    // --- hooks ------------------------------------------------------------
    // Fills the cell from its resource (nil for leading and static cells).
    virtual void onResourceChanged(const platform::ObjectPtr& resource);
    virtual bool hasConstantHeight() const { return false; }
    // YES: the page leaves the cell's look to the cell (configureCell does nothing to it).
    virtual bool wantsToConfigureSelf() const { return false; }

    std::string kindName() const override { return "HCTableCellHelper"; }

private:
    std::weak_ptr<platform::Object> owner_;
    platform::ObjectPtr resource_;
};

using HCTableCellHelperPtr = std::shared_ptr<HCTableCellHelper>;
