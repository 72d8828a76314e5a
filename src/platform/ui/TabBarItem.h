#pragma once
// The button of one tab: a title, an image, a badge and a tag.
//
// Thread: main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Image.h"

namespace platform::ui {

class TabBarItem : public Object {
public:
    TabBarItem() = default;
    TabBarItem(std::string title, ImagePtr image, int tag) : title_(std::move(title)), image_(std::move(image)), tag_(tag) {}

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { HC_CHECK_MAIN_THREAD(); title_ = std::move(title); }
    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image) { HC_CHECK_MAIN_THREAD(); image_ = std::move(image); }
    int tag() const { return tag_; }
    void setTag(int tag) { HC_CHECK_MAIN_THREAD(); tag_ = tag; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { HC_CHECK_MAIN_THREAD(); enabled_ = enabled; }
    // nullopt: no badge (the platform's nil).
    const std::optional<std::string>& badgeValue() const { return badgeValue_; }
    void setBadgeValue(std::optional<std::string> value) { HC_CHECK_MAIN_THREAD(); badgeValue_ = std::move(value); }

    // "TabBarItem \"Inbox\" badge=3", for screen dumps.
    std::string description() const override;

private:
    std::string title_;
    ImagePtr image_;
    int tag_ = 0;
    bool enabled_ = true;
    std::optional<std::string> badgeValue_;
};

using TabBarItemPtr = std::shared_ptr<TabBarItem>;

}  // namespace platform::ui
