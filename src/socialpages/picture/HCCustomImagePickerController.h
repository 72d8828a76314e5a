#pragma once
// The system's picture chooser as the dashboard shows it: show() puts it up
// over the whole dashboard (presented by the dashboard's root controller),
// hide() takes it down again. Without a dashboard on screen show() does
// nothing.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/ImagePickerController.h"

class HCCustomImagePickerController final : public platform::ui::ImagePickerController {
public:
    static std::shared_ptr<HCCustomImagePickerController> make();

    void show();
    void hide();

    std::string kindName() const override { return "HCCustomImagePickerController"; }
};
