#pragma once
// The bar above a section of a plain table: the section's title in white on
// dark grey. A page may load its section headers by name instead, so that a
// game can give them a look of its own (the loader's naming rules); such a
// view shows the title in its label tagged kTitleTag, and the name's
// default nib is this bar.
//
// Thread: main thread (views).
#include <string>

#include "platform/ui/View.h"

class HCTableControllerHelper;

class HCSectionHeaderView {
public:
    static constexpr int kTitleTag = 1;
    static constexpr double kHeight = 24;

    static platform::ui::ViewPtr make(double width, const std::string& title);
    // The bar, under the full nib name (with its asset suffix).
    static void registerDefaultNib(const std::string& nibName);
    // The view of the short name (owned by the page) with the title of the
    // page's section in its tagged label; nil for a section the page does
    // not have and when no nib of that name loads.
    static platform::ui::ViewPtr loadForSection(const std::string& name, HCTableControllerHelper& page, int section);
};
