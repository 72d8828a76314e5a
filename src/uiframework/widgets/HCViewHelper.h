#pragma once
// Small view helpers the pages share.
//
// Thread: main thread.
#include <string>

#include "platform/ui/Font.h"
#include "platform/ui/View.h"

namespace HCViewHelper {

// The first view with the tag in the tree, the root first, then depth-first
// in subview order; nil when none (or no root).
platform::ui::ViewPtr findViewByTag(const platform::ui::ViewPtr& root, int tag);

// A font like `font`, at the largest whole point size from `maxPointSize`
// down to `minPointSize` at which the text, wrapped by words, fits into
// `size`; the smallest when none fits. Bounds given the wrong way round are
// taken in order.
platform::ui::FontPtr getFontToFitStringInSize(const std::string& text, platform::ui::Size size,
                                               const platform::ui::Font& font, unsigned maxPointSize,
                                               unsigned minPointSize);

}  // namespace HCViewHelper
