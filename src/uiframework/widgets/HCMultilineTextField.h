#pragma once
// The multi-line text entry of the dashboard's forms (a review, a post's
// body), framed like the one-line fields; pages read and set its text.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/TextView.h"

class HCMultilineTextField final : public platform::ui::TextView {
public:
    explicit HCMultilineTextField(const platform::ui::Rect& frame = platform::ui::Rect());
    std::string kindName() const override { return "HCMultilineTextField"; }
};
