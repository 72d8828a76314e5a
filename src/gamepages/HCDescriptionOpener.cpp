#include "gamepages/HCDescriptionOpener.h"

#include "platform/runtime/ThreadChecker.h"

void HCDescriptionOpener::setMaker(Maker maker)
{
    HC_CHECK_MAIN_THREAD();
    maker_ = std::move(maker);
}

platform::ui::ViewControllerPtr HCDescriptionOpener::descriptionPage(const std::optional<std::string>& resourceId,
                                                                     const std::string& placement)
{
    HC_CHECK_MAIN_THREAD();
    // Without a game the page would describe nothing.
    if (!maker_ || !resourceId || resourceId->empty()) return nullptr;
    return maker_(resourceId, placement);
}
