#pragma once
// The outcome of one transfer on the storage road: the body (nil on
// failure), the caller's pass-through object, and the HTTP status (0 when no
// reply came).
//
// Thread: immutable once made; any thread.
#include <memory>

#include "platform/foundation/Values.h"

class HCS3Response final : public platform::Object {
public:
    HCS3Response(std::shared_ptr<platform::Data> data, platform::ObjectPtr userParam, int statusCode)
        : data_(std::move(data)), userParam_(std::move(userParam)), statusCode_(statusCode)
    {
    }

    const std::shared_ptr<platform::Data>& data() const { return data_; }
    const platform::ObjectPtr& userParam() const { return userParam_; }
    int statusCode() const { return statusCode_; }

private:
    std::shared_ptr<platform::Data> data_;
    platform::ObjectPtr userParam_;
    int statusCode_;
};
