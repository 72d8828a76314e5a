#pragma once
// A game event to post to the player's linked networks: the text, an image
// (a notification image by name, or another type by id), a link, and the
// networks (0 Facebook, 1 Twitter), each once.
//
// Thread: made and used on one thread at a time (the main thread).
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"

class HCSocialNotification final : public platform::Object {
public:
    using Text = std::optional<std::string>;

    // The image type of a notification image named by the game.
    static constexpr const char* kNotificationImages = "notification_images";

    static std::shared_ptr<HCSocialNotification> initWithText(const Text& text);
    static std::shared_ptr<HCSocialNotification> initWithText(const Text& text, const Text& imageNamed);
    // An empty link is none.
    static std::shared_ptr<HCSocialNotification> initWithText(const Text& text, const Text& imageNamed,
                                                              const Text& linkedUrl);
    // An image of any type by id, without a link. Named apart: with three
    // texts, initWithText means an image name and a link.
    static std::shared_ptr<HCSocialNotification> initWithTextImageTypeImageId(const Text& text, const Text& imageType,
                                                                              const Text& imageId);
    static std::shared_ptr<HCSocialNotification> initWithText(const Text& text, const Text& imageType,
                                                              const Text& imageId, const Text& linkedUrl);

    // Adds the network unless it is there already.
    void addSendToNetwork(int network);
    void clearSendToNetworks() { sendToNetworks.clear(); }

    Text text;
    Text imageType;
    Text imageIdentifier;
    Text imageUrl;
    Text url;
    std::vector<int> sendToNetworks;
};

using HCSocialNotificationPtr = std::shared_ptr<HCSocialNotification>;
