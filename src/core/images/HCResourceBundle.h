#pragma once
// The bundle that holds the client's own images and layouts: the first of
// "HCResources_Universal", "HCResources_iPhone_Universal", "HCResources_iPad",
// "HCResources_iPhone_Portrait", "HCResources_iPhone_Landscape" (".bundle"
// folders in the main bundle) that exists, else the main bundle.
//
// Thread: any thread. The answer is kept for as long as the main bundle
// stays where it is (a test's sandbox may move it; a game's never does).
#include <memory>

#include "platform/foundation/Bundle.h"

class HCResourceBundle final {
public:
    static std::shared_ptr<platform::Bundle> getResourceBundle();
};
