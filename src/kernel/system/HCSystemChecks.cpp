#include "kernel/system/HCSystemChecks.h"

#include <string_view>

#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/TextConversions.h"

namespace {

// The n-th dot-separated component of a version, as a number.
int component(std::string_view version, int n)
{
    for (int i = 0; i < n; ++i) {
        const size_t dot = version.find('.');
        if (dot == std::string_view::npos) {
            return 0;
        }
        version.remove_prefix(dot + 1);
    }
    return platform::intValue(version.substr(0, version.find('.')));
}

}  // namespace

bool isSystemVersionAtLeast(const std::string& version, int major, int minor)
{
    const int actualMajor = component(version, 0);
    if (actualMajor != major) {
        return actualMajor > major;
    }
    return component(version, 1) >= minor;
}

bool is3PointOhSystemVersion()
{
    return isSystemVersionAtLeast(platform::DeviceFacts::systemVersion(), 3, 0);
}

bool is4PointOhSystemVersion()
{
    return isSystemVersionAtLeast(platform::DeviceFacts::systemVersion(), 4, 0);
}

bool is4Point1SystemVersion()
{
    return isSystemVersionAtLeast(platform::DeviceFacts::systemVersion(), 4, 1);
}

std::string getHardwareVersion()
{
    return platform::DeviceFacts::hardwareModel();
}
