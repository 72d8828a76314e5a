#pragma once
// The device's physical orientation, as the host (or a test) reports it,
// and whether it has a camera.
// While orientation notifications are being generated, a change posts
// DeviceOrientationDidChangeNotification through the default
// NotificationCenter with the device as the object.
//
// Thread: main thread only.
#include <memory>

#include "platform/runtime/Object.h"
#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

// Numbers match the platform's device orientations.
enum class DeviceOrientation : int {
    Unknown = 0,
    Portrait = 1,
    PortraitUpsideDown = 2,
    LandscapeLeft = 3,
    LandscapeRight = 4,
    FaceUp = 5,
    FaceDown = 6,
};

inline constexpr const char* DeviceOrientationDidChangeNotification = "DeviceOrientationDidChangeNotification";

class Device final : public Object {
public:
    static std::shared_ptr<Device> current();
    // A fresh device (portrait, not generating notifications) for the next test.
    static void resetCurrent();

    DeviceOrientation orientation() const { return orientation_; }
    void setOrientation(DeviceOrientation orientation);

    // Calls nest: notifications stop after as many ends as begins.
    void beginGeneratingDeviceOrientationNotifications() { ++generating_; }
    void endGeneratingDeviceOrientationNotifications();
    bool isGeneratingDeviceOrientationNotifications() const { return generating_ > 0; }

    // Whether the device has a camera (the image picker's camera source); none at first.
    bool hasCamera() const { return hasCamera_; }
    void setHasCamera(bool has) { HC_CHECK_MAIN_THREAD(); hasCamera_ = has; }

private:
    DeviceOrientation orientation_ = DeviceOrientation::Portrait;
    int generating_ = 0;
    bool hasCamera_ = false;
};

}  // namespace platform::ui
