#pragma once
// A picture box for remote images: it shows the image at a URL (a cached
// copy at once, else a download through the image cache's road), a given
// image, or meanwhile its default image (the placeholder).
//
// The download-finished delegate is told whenever a URL's image is settled:
// found in the cache, downloaded, or failed (then with nil; the default
// image stays). Banners wait on it, so it is never left untold for a URL
// that was given. A nil or empty URL starts nothing and tells nothing.
//
// Framed (the default): a thin border with rounded corners; unframed: no
// border; sharp corners: square ones. The image is scaled to fill the box
// when asked, else fitted inside it.
//
// A player's picture taken from Facebook carries a small Facebook mark in
// its lower right corner (the overlay); a player without a picture shows
// the default of the local player or of another player.
//
// It is a platform image view whose shown image it manages: set pictures
// through this class, not through the base's setter.
//
// Thread: main thread only, like every view.
#include <optional>
#include <string>

#include "core/images/HCImageDownload.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/ui/ImageView.h"

class HCUser;

class HCImageView : public platform::ui::ImageView {
public:
    // Another player's default picture, and the local player's own.
    static constexpr const char* kProfileDefaultImageName = "HCProfileIconDefault.png";
    static constexpr const char* kLocalProfileDefaultImageName = "HCProfileIconDefaultSelf.png";
    static constexpr const char* kFacebookOverlayImageName = "HCProfilePictureFacebookOverlay.png";
    static constexpr const char* kGameCenterProfileImageName = "HCGameCenterProfileIcon.png";

    explicit HCImageView(const platform::ui::Rect& frame = platform::ui::Rect());
    static std::shared_ptr<HCImageView> make(const platform::ui::Rect& frame = platform::ui::Rect());

    // Cancels a running download first.
    void setImageUrl(const std::optional<std::string>& url);
    const std::optional<std::string>& imageUrl() const { return url_; }
    // Shows `image` at once and drops any URL and download.
    void setImage(const platform::ui::ImagePtr& image);
    // What is shown: the given or downloaded image, else the default image.
    platform::ui::ImagePtr image() const;
    const platform::ui::ImagePtr& defaultImage() const { return defaultImage_; }
    void setDefaultImage(const platform::ui::ImagePtr& image);
    // Invoked with the image (nil after a failure); an empty delegate tells nobody.
    void setImageDownloadFinishedDelegate(const HCDelegate& delegate) { finished_ = delegate; }
    bool isDownloading() const;

    void setUnframed(bool unframed);
    bool isUnframed() const { return unframed_; }
    void setUseSharpCorners(bool sharp);
    bool usesSharpCorners() const { return sharpCorners_; }
    void setShouldScaleImageToFillRect(bool scale);
    bool shouldScaleImageToFillRect() const { return scaleToFill_; }

    // The player's picture with the default profile icon meanwhile, and the
    // Facebook mark when the picture is the player's Facebook one; nil
    // shows the icon.
    void useProfilePictureFromUser(const std::shared_ptr<HCUser>& user);
    // Only the default picture of another player, or of the local player
    // (any image or URL shown before is dropped).
    void useOtherPlayerProfilePictureDefault();
    void useLocalPlayerProfilePictureDefault();
    void setUseFacebookOverlay(bool use);
    // The Facebook mark as shown; nil while it is off.
    platform::ui::ImageViewPtr facebookOverlay() const;
    // The picture of a player known only to Game Center, which hands out no
    // pictures: the Game Center icon. A user's picture still downloading is dropped.
    void useGameCenterProfilePicture();

    std::string kindName() const override { return "HCImageView"; }

private:
    void show();
    void applyFrameStyle();
    void settled(const platform::ui::ImagePtr& image);
    void useDefaultOnly(const char* imageName);

    std::optional<std::string> url_;
    platform::ui::ImagePtr image_;
    platform::ui::ImagePtr defaultImage_;
    HCDelegate finished_;
    HCImageDownloadSlots slots_;
    platform::ui::ImageViewPtr facebookOverlay_;
    bool unframed_ = false;
    bool sharpCorners_ = false;
    bool scaleToFill_ = false;
};

using HCImageViewPtr = std::shared_ptr<HCImageView>;
