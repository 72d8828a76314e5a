#pragma once
// What the game implements to hear the outcomes of HCPlayedGame's
// operations. Every method is optional: HCPlayedGame calls one only when the
// delegate implements it. Failures carry no error.
//
// Thread: called on the main thread.
#include <memory>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/runtime/OptionalMethods.h"
#include "platform/ui/Image.h"

class HCPlayedGame;

class HCPlayedGameDelegate : public platform::OptionalMethods {
public:
    virtual ~HCPlayedGameDelegate() = default;

    virtual void didGetGameIcon(const platform::ui::ImagePtr& image, const std::shared_ptr<HCPlayedGame>& game)
    {
        (void)image;
        (void)game;
        notImplemented();
    }
    virtual void didFailGetGameIconHCPlayedGame(const std::shared_ptr<HCPlayedGame>& game)
    {
        (void)game;
        notImplemented();
    }
    // The objects of the developer's picks in the service's order (played
    // games, as the page lists them); empty for an empty page.
    virtual void didGetFeaturedGames(const std::vector<platform::ObjectPtr>& games)
    {
        (void)games;
        notImplemented();
    }
    virtual void didFailGetFeaturedGames() { notImplemented(); }
};
