#pragma once
// The system's picture chooser: a navigation controller that, once on
// screen, lets a person take a photo or choose one from the library. The
// camera is there only when the device has one (Device::hasCamera); the
// library and the saved-photos album always are. Asking for a source that
// is not available is a programming error and keeps the source.
//
// A person picks an image (pickImage) or cancels. With editing allowed
// (allowsEditing, also under its older name allowsImageEditing) the person
// keeps the largest centred square of the image
// (as recorded, keeping its orientation). The delegate hears the
// newer call (an info dictionary with the media type, the original image
// and, when edited, the edited image and the crop rectangle) when it
// implements it, else the older call (the image as kept, and, when edited,
// editing info with the original image and the crop rectangle). A cancel is
// told to the delegate; one that does not implement it leaves the picker to
// take itself off the screen. Closing the picker after a pick is the
// delegate's job.
//
// Thread: main thread only.
#include <memory>

#include "platform/foundation/Values.h"
#include "platform/runtime/OptionalMethods.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Image.h"
#include "platform/ui/NavigationController.h"

namespace platform::ui {

class ImagePickerController;

inline constexpr const char* ImagePickerControllerMediaType = "UIImagePickerControllerMediaType";
inline constexpr const char* ImagePickerControllerOriginalImage = "UIImagePickerControllerOriginalImage";
inline constexpr const char* ImagePickerControllerEditedImage = "UIImagePickerControllerEditedImage";
inline constexpr const char* ImagePickerControllerCropRect = "UIImagePickerControllerCropRect";
// The media type of a still image.
inline constexpr const char* kMediaTypeImage = "public.image";

// Every call is optional (callOptional answers whether it was implemented).
class ImagePickerControllerDelegate : public NavigationControllerDelegate, public OptionalMethods {
public:
    virtual void imagePickerControllerDidFinishPickingMediaWithInfo(ImagePickerController& picker,
                                                                    const std::shared_ptr<Dictionary>& info);
    // The older form; `editingInfo` is nullptr when editing was not allowed.
    virtual void imagePickerControllerDidFinishPickingImage(ImagePickerController& picker, const ImagePtr& image,
                                                            const std::shared_ptr<Dictionary>& editingInfo);
    virtual void imagePickerControllerDidCancel(ImagePickerController& picker);
};

class ImagePickerController : public NavigationController {
public:
    // Numbers match the platform's.
    enum class SourceType : int { PhotoLibrary = 0, Camera = 1, SavedPhotosAlbum = 2 };

    ImagePickerController();
    static std::shared_ptr<ImagePickerController> make();

    static bool isSourceTypeAvailable(SourceType type);
    SourceType sourceType() const { return sourceType_; }
    void setSourceType(SourceType type);
    bool allowsEditing() const { return allowsEditing_; }
    void setAllowsEditing(bool allows) { HC_CHECK_MAIN_THREAD(); allowsEditing_ = allows; }
    bool allowsImageEditing() const { return allowsEditing_; }
    void setAllowsImageEditing(bool allows) { HC_CHECK_MAIN_THREAD(); allowsEditing_ = allows; }

    // Also the navigation delegate, as on the platform. Held weakly.
    std::shared_ptr<ImagePickerControllerDelegate> delegate() const { return pickerDelegate_.lock(); }
    void setDelegate(const std::shared_ptr<ImagePickerControllerDelegate>& delegate);

    // --- what a person does (the picker must be on screen) ---------------------
    // False (and nothing is told) when the picker is not on screen or there is no image.
    bool pickImage(const ImagePtr& image);
    bool cancel();

    std::string kindName() const override { return "ImagePickerController"; }

private:
    SourceType sourceType_ = SourceType::PhotoLibrary;
    bool allowsEditing_ = false;
    std::weak_ptr<ImagePickerControllerDelegate> pickerDelegate_;
};

using ImagePickerControllerPtr = std::shared_ptr<ImagePickerController>;

}  // namespace platform::ui
