#pragma once
// Shows one image (or its highlighted alternative while highlighted). Made
// with an image, it takes the image's size. It takes no touches unless told.
//
// Thread: main thread only.
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace platform::ui {

class ImageView : public View {
public:
    explicit ImageView(const Rect& frame = Rect());
    // Framed at the origin with the image's size.
    explicit ImageView(ImagePtr image);
    static std::shared_ptr<ImageView> make(const Rect& frame = Rect()) { return std::make_shared<ImageView>(frame); }
    static std::shared_ptr<ImageView> withImage(ImagePtr image) { return std::make_shared<ImageView>(std::move(image)); }

    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image) { HC_CHECK_MAIN_THREAD(); image_ = std::move(image); }
    const ImagePtr& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(ImagePtr image) { HC_CHECK_MAIN_THREAD(); highlightedImage_ = std::move(image); }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { HC_CHECK_MAIN_THREAD(); highlighted_ = highlighted; }
    // What is shown now: the highlighted image while highlighted (when there
    // is one), else the image.
    ImagePtr displayedImage() const;

    // The image's size; the current size without an image.
    Size sizeThatFits(Size size) const override;

    std::string kindName() const override { return "ImageView"; }
    // The shown image's name, or "(image WxH)" for an unnamed one; empty without.
    std::string describe() const override;

private:
    ImagePtr image_;
    ImagePtr highlightedImage_;
    bool highlighted_ = false;
};

using ImageViewPtr = std::shared_ptr<ImageView>;

}  // namespace platform::ui
