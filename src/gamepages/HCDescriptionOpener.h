#pragma once
// How a games list reaches a game's description page ("ApplicationDescription"):
// the page lives with the social pages, above this layer, which install the
// way to make it at start-up. Until then (or in a build without them) no
// page is made.
//
// Thread: main thread.
#include <functional>
#include <optional>
#include <string>

#include "platform/ui/ViewController.h"

class HCDescriptionOpener {
public:
    // The game's id and where the player came from; nil when no page can be made.
    using Maker = std::function<platform::ui::ViewControllerPtr(const std::optional<std::string>& resourceId,
                                                                const std::optional<std::string>& placement)>;

    static void setMaker(Maker maker);
    // The description page of the game, nil without a game or a maker.
    static platform::ui::ViewControllerPtr descriptionPage(const std::optional<std::string>& resourceId,
                                                           const std::string& placement);

private:
    static inline Maker maker_;
};
