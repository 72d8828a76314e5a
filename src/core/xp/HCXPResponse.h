#pragma once
// The three kinds of receiver a JSON request hands its outcome to: the reply
// as text, as bytes, or decoded by the JSON coder. Each gets the HTTP status
// (0 when no reply came).
//
// Thread: called on the main thread.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/foundation/Values.h"

class HCXPResponseText {
public:
    virtual ~HCXPResponseText() = default;
    virtual void onResponseText(const std::string& text, uint32_t responseCode) = 0;
};

class HCXPResponseData {
public:
    virtual ~HCXPResponseData() = default;
    virtual void onResponseData(const std::shared_ptr<platform::Data>& data, uint32_t responseCode) = 0;
};

class HCXPResponseJSON {
public:
    virtual ~HCXPResponseJSON() = default;
    virtual void onResponseJSON(const platform::ObjectPtr& object, uint32_t responseCode) = 0;
};
