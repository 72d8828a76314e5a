#pragma once
// The banners' layouts, as the client ships them: one builder per layout
// name in the nib registry, registered the first time a banner is loaded
// unless something is registered under that name already. A game replaces
// one with its own nib found by the controller loader's rules (the name,
// its variants and the asset suffix), asked first.
//
// Thread: main thread only (layouts build views).
#include <string>

#include "platform/ui/View.h"

class HCBannerLayouts final {
public:
    // The banner view of that layout: the installed view loader's, else the
    // client's own; nil when neither builds a view.
    static platform::ui::ViewPtr loadView(const std::string& name);
    // Registers the client's layouts that are not registered yet.
    static void registerMissing();
};
