#pragma once
// The system's picture chooser as the dashboard shows it: show() puts it up
// over the whole dashboard (presented by the dashboard's root controller),
// hide() takes it down again. Without a dashboard on screen show() does
// nothing.
//
// A system before 3.0 cannot present it from the dashboard: there it gets a
// window of its own over the whole screen, in portrait, under a translucent
// status bar (hidden but for the camera); hide() closes that window and
// puts the status bar and the key window back as they were.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/Application.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/Window.h"

class HCCustomImagePickerController final : public platform::ui::ImagePickerController {
public:
    static std::shared_ptr<HCCustomImagePickerController> make();

    void show();
    void hide();

    const std::shared_ptr<platform::ui::Window>& windowFor2x() const { return windowFor2x_; }
    std::string kindName() const override { return "HCCustomImagePickerController"; }

private:
    void showInOwnWindow();
    void hideOwnWindow();

    std::shared_ptr<platform::ui::Window> windowFor2x_;
    std::shared_ptr<platform::ui::ViewController> controllerFor2x_;
    std::weak_ptr<platform::ui::Window> keyWindowBefore_;
    bool statusBarWasHiddenFor2x_ = false;
    platform::ui::InterfaceOrientation statusBarOrientationFor2x_ = platform::ui::InterfaceOrientation::Portrait;
    platform::ui::StatusBarStyle statusBarStyleFor2x_ = platform::ui::StatusBarStyle::Default;
};
