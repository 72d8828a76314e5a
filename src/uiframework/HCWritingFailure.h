#pragma once
// Telling the player that something he wrote (a chat or IM line, a post, a
// review, an invitation's or a challenge's message, a login he typed) was
// refused or dropped, once he may have left the page it came from.
//
// Inside the dashboard it is the page's alert. With the dashboard closed
// the player is back in the game, which a modal alert would stop; he is
// told with an error banner over the game instead (the failure status,
// the writing's category), through the banner service, so that the game's
// notification delegate and the player's option that turns the client's
// banners off decide whether it shows, as for every other banner.
//
// Thread: main thread.
#include <string>

struct HCWritingFailure {
    std::string title;
    // Names what was not sent; the banner's whole text.
    std::string message;
    std::string button;
    // The banner's category (HCNotificationCategory...).
    int category = 0;
};

void tellWritingFailure(const HCWritingFailure& failure);

// A sentence saying what was not sent ("Your message "Hi" was not sent.")
// joined with the service's reason: "Your message "Hi" was not sent: busy".
// The sentence alone when there is no reason, the reason alone when there
// is no sentence.
std::string notSentBecause(const std::string& notSent, const std::string& reason);
