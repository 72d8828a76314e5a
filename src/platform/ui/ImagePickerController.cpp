#include "platform/ui/ImagePickerController.h"

#include <algorithm>

#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Device.h"
#include "platform/ui/Keyboard.h"

namespace platform::ui {

namespace {

// The largest square around the middle, in pixels.
Rect centredSquare(const Image& image)
{
    const int side = std::min(image.pixelWidth(), image.pixelHeight());
    return Rect((image.pixelWidth() - side) / 2, (image.pixelHeight() - side) / 2, side, side);
}

ImagePtr crop(const Image& image, const Rect& pixels)
{
    const int x0 = static_cast<int>(pixels.minX());
    const int y0 = static_cast<int>(pixels.minY());
    const int w = static_cast<int>(pixels.width());
    const int h = static_cast<int>(pixels.height());
    std::vector<uint8_t> rgba;
    rgba.reserve(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    const auto& source = image.rgba();
    for (int y = y0; y < y0 + h; ++y) {
        const auto row = source.begin() + (static_cast<ptrdiff_t>(y) * image.pixelWidth() + x0) * 4;
        rgba.insert(rgba.end(), row, row + static_cast<ptrdiff_t>(w) * 4);
    }
    // The square is centred, so it is the same square however the photo is
    // turned; it must still be turned the same way to stand upright.
    auto square = Image::withPixels(w, h, std::move(rgba), image.scale());
    return square ? square->withOrientation(image.imageOrientation()) : nullptr;
}

}  // namespace

void ImagePickerControllerDelegate::imagePickerControllerDidFinishPickingMediaWithInfo(
    ImagePickerController&, const std::shared_ptr<Dictionary>&)
{
    notImplemented();
}

void ImagePickerControllerDelegate::imagePickerControllerDidFinishPickingImage(ImagePickerController&,
                                                                               const ImagePtr&,
                                                                               const std::shared_ptr<Dictionary>&)
{
    notImplemented();
}

void ImagePickerControllerDelegate::imagePickerControllerDidCancel(ImagePickerController&) { notImplemented(); }

ImagePickerController::ImagePickerController() = default;

std::shared_ptr<ImagePickerController> ImagePickerController::make()
{
    auto picker = std::make_shared<ImagePickerController>();
    picker->initWithRootViewController(std::make_shared<ViewController>());
    return picker;
}

bool ImagePickerController::isSourceTypeAvailable(SourceType type)
{
    return type != SourceType::Camera || Device::current()->hasCamera();
}

void ImagePickerController::setSourceType(SourceType type)
{
    HC_CHECK_MAIN_THREAD();
    if (!isSourceTypeAvailable(type)) {
        reportProgrammingError("image picker source " + std::to_string(static_cast<int>(type)) + " is not available");
        return;
    }
    sourceType_ = type;
}

void ImagePickerController::setDelegate(const std::shared_ptr<ImagePickerControllerDelegate>& delegate)
{
    HC_CHECK_MAIN_THREAD();
    pickerDelegate_ = delegate;
    NavigationController::setDelegate(delegate);
}

bool ImagePickerController::pickImage(const ImagePtr& original)
{
    HC_CHECK_MAIN_THREAD();
    if (!original || !isVisible()) return false;
    const auto keepAlive = weak_from_this().lock();
    auto info = Dictionary::make();
    info->setString(ImagePickerControllerMediaType, kMediaTypeImage);
    info->setObject(ImagePickerControllerOriginalImage, original);
    ImagePtr kept = original;
    std::shared_ptr<Dictionary> editingInfo;
    if (allowsEditing_) {
        const Rect square = centredSquare(*original);
        kept = crop(*original, square);
        info->setObject(ImagePickerControllerEditedImage, kept);
        info->setObject(ImagePickerControllerCropRect, RectValue::make(square));
        editingInfo = Dictionary::make();
        editingInfo->setObject(ImagePickerControllerOriginalImage, original);
        editingInfo->setObject(ImagePickerControllerCropRect, RectValue::make(square));
    }
    auto d = delegate();
    if (!d) return true;
    if (!callOptional([&] { d->imagePickerControllerDidFinishPickingMediaWithInfo(*this, info); }))
        callOptional([&] { d->imagePickerControllerDidFinishPickingImage(*this, kept, editingInfo); });
    return true;
}

bool ImagePickerController::cancel()
{
    HC_CHECK_MAIN_THREAD();
    if (!isVisible()) return false;
    const auto keepAlive = weak_from_this().lock();
    auto d = delegate();
    if (!d || !callOptional([&] { d->imagePickerControllerDidCancel(*this); })) {
        if (presentingViewController()) dismissModalViewController(true);
    }
    return true;
}

}  // namespace platform::ui
