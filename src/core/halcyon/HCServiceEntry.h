#pragma once
// One service of the client as start-up and shut-down see it: its name, how
// to bring it up and down, its places in the two fixed orders, and whether it
// registers polled resources with the activity poller.
//
// Thread: a value; the functions run on the main thread.
#include <memory>
#include <string>

class HCPoller;

struct HCServiceEntry {
    std::string name;
    void (*initializeService)() = nullptr;
    void (*shutdownService)() = nullptr;
    // 1-based places in the start-up and shut-down orders; services that are
    // not built leave gaps, so each later service keeps its number.
    int startUpPlace = 0;
    int shutDownPlace = 0;
    // Null for services that poll nothing.
    void (*registerPolledResources)(const std::shared_ptr<HCPoller>& poller) = nullptr;
};
