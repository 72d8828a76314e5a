#pragma once
// The banners' layouts, as the client ships them: one builder per layout
// name in the nib registry, registered the first time a banner is loaded
// unless the game registered its own layout under that name first.
//
// Thread: main thread only (layouts build views).
#include <string>

#include "platform/ui/View.h"

class HCBannerLayouts final {
public:
    // The banner view of that layout, through the installed view loader when
    // there is one; nil when no layout of the name builds a view.
    static platform::ui::ViewPtr loadView(const std::string& name);
    // Registers the client's layouts that are not registered yet.
    static void registerMissing();
};
