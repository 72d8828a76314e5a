#pragma once
// A reply reader for tests of the transport: bodies of the form
// "chat_message:5,user:3" give one resource per item of a watched class, the
// resource being its "name:id" text.
//
// Thread: read() runs on whichever thread reads replies; `reads` counts them.
#include <atomic>
#include <sstream>
#include <string>
#include <vector>

#include "transport/poller/HCPollerReplyReader.h"

class ListReplyReader final : public HCPollerReplyReader {
public:
    std::vector<Item> read(const platform::Data& body, const std::vector<HCPollerResourceClass>& classes) override
    {
        std::vector<Item> items;
        std::stringstream list(body.toString());
        std::string entry;
        while (std::getline(list, entry, ',')) {
            auto colon = entry.find(':');
            if (colon == std::string::npos) continue;
            Item item{platform::String::make(entry), entry.substr(0, colon), std::stoll(entry.substr(colon + 1))};
            for (const auto& c : classes)
                if (c.resourceName == item.resourceName) items.push_back(item);
        }
        ++reads;
        return items;
    }

    std::atomic<int> reads{0};
};
