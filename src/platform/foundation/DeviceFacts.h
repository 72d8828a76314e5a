#pragma once
// What the library tells the service about the device it runs on.
//
// Defaults on Linux: a unique identifier of 40 lower-case hexadecimal digits
// made once and kept in the sandbox ("Library/device-identifier"), the host
// name as the device name, the kernel's name and machine from uname as the
// system name and hardware model, "4.2" as the system version (the level of
// the platform interface these stand-ins provide) and the small 320 x 480
// screen. Every fact can be overridden (the host's configuration, tests);
// reset() returns to the defaults.
//
// Thread: any thread.
#include <string>

namespace platform {

class DeviceFacts {
public:
    static std::string uniqueIdentifier();
    static std::string name();
    static std::string systemName();
    static std::string systemVersion();
    // The "hw.machine" text: the hardware model identifier.
    static std::string hardwareModel();
    static int screenWidth();
    static int screenHeight();
    // A screen of 768 points or more across, the tablet layout.
    static bool isLargeScreen();

    static void setUniqueIdentifier(std::string value);
    static void setName(std::string value);
    static void setSystemName(std::string value);
    static void setSystemVersion(std::string value);
    static void setHardwareModel(std::string value);
    // The two standard screens: 320 x 480 or 768 x 1024 points.
    static void setLargeScreen(bool large);
    static void reset();
};

}  // namespace platform
