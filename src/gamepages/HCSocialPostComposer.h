#pragma once
// What the score and achievement pages give the social post page
// ("SendSocialNotification") before they push it to let the player brag.
// That page lives with the social pages, above this layer, and implements it.
//
// Thread: main thread.
#include <optional>
#include <string>

#include "platform/ui/Image.h"

class HCSocialPostComposer {
public:
    static constexpr const char* kLoaderName = "SendSocialNotification";

    virtual ~HCSocialPostComposer() = default;
    virtual void setPrepopulatedText(const std::optional<std::string>& text,
                                     const std::optional<std::string>& originalMessage) = 0;
    virtual void setImageType(const std::string& imageType, const std::string& imageId,
                              const std::optional<std::string>& linkedUrl) = 0;
    virtual void setImageUrl(const std::optional<std::string>& url, const platform::ui::ImagePtr& defaultImage) = 0;
};
