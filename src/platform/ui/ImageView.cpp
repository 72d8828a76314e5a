#include "platform/ui/ImageView.h"

namespace platform::ui {

ImageView::ImageView(const Rect& frame) : View(frame) { setUserInteractionEnabled(false); }

ImageView::ImageView(ImagePtr image)
    : View(image ? Rect(Point(), image->size()) : Rect()), image_(std::move(image))
{
    setUserInteractionEnabled(false);
}

ImagePtr ImageView::displayedImage() const { return highlighted_ && highlightedImage_ ? highlightedImage_ : image_; }

Size ImageView::sizeThatFits(Size size) const
{
    const ImagePtr shown = displayedImage();
    return shown ? shown->size() : View::sizeThatFits(size);
}

std::string ImageView::describe() const
{
    const ImagePtr shown = displayedImage();
    if (!shown) return {};
    if (!shown->name().empty()) return shown->name();
    return "(image " + formatNumber(shown->size().width) + "x" + formatNumber(shown->size().height) + ")";
}

}  // namespace platform::ui
