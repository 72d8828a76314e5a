#pragma once
// Reads the poller's replies with the resource reader: the reply's resources
// of the watched classes, each with its element name and numeric id.
//
// Thread: read() runs on the provider's request thread; the reader keeps no
// state between calls.
#include <optional>
#include <string>
#include <vector>

#include "transport/poller/HCPollerReplyReader.h"

class HCResourcePollerReplyReader final : public HCPollerReplyReader {
public:
    std::vector<Item> read(const platform::Data& body, const std::vector<HCPollerResourceClass>& classes) override;
};

// What the poller needs to know of the resource class registered under
// `className`, asked of a fresh instance; nothing for a name that is not a
// registered resource class.
std::optional<HCPollerResourceClass> HCPollerResourceClassNamed(const std::string& className);
