#pragma once
// Questions about the system the client runs on: its version and its hardware.
//
// Versions compare numerically component by component ("4.10" is later than
// "4.2"); a missing component counts as 0 and a component that is not a
// number as its leading digits (none: 0).
//
// Thread: any thread.
#include <string>

// True when `version` is at least major.minor.
bool isSystemVersionAtLeast(const std::string& version, int major, int minor);

// True when the running system (the device facts' system version) is at least
// 3.0, 4.0 and 4.1 respectively.
bool is3PointOhSystemVersion();
bool is4PointOhSystemVersion();
bool is4Point1SystemVersion();

// The hardware model identifier ("hw.machine").
std::string getHardwareVersion();
