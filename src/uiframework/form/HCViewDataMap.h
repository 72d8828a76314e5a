#pragma once
// Which form fields a page sends, and from which views: each field name is
// read from the view with its tag when the form is submitted. Text fields and
// text views give their text, labels theirs, switches "1" or "0" (the
// writer's booleans), segmented controls the selected index. A field whose
// view is missing, or of another kind, is left out.
//
// Thread: main thread.
#include <string>
#include <vector>

#include "kernel/io/HCISerializer.h"
#include "platform/ui/View.h"

class HCViewDataMap {
public:
    void addFieldReference(const std::string& name, int tag);
    bool isEmpty() const { return fields_.empty(); }

    // Writes every field found below `root`, in the order they were added.
    void writeFields(const platform::ui::ViewPtr& root, HCISerializer& out) const;

private:
    struct Field {
        std::string name;
        int tag;
    };
    std::vector<Field> fields_;
};
