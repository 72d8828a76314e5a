#pragma once
// Hears the service's answer to a player's "no" sent to it: a 201 (the
// service recorded the refusal) is remembered in the user options as
// "HalcyonUserOptionSentDisapprovalToServer" = "YES"; any other status, and
// a transfer that failed, leave the option unwritten, so the refusal can be
// sent again.
//
// Thread: the run loop its transfer delivers on.
#include <cstdint>
#include <vector>

#include "platform/net/NetError.h"
#include "platform/net/URLTransfer.h"

class SendDenialDelegate final : public platform::Object {
public:
    static constexpr const char* kSentDisapprovalKey = "HalcyonUserOptionSentDisapprovalToServer";

    void connectionDidReceiveResponse(const platform::URLResponse& response);
    void connectionDidFailWithError(const platform::NetErrorPtr& error);
    // The reply's bytes.
    const std::vector<uint8_t>& data() const { return data_; }
    // A transfer's completion that hands its outcome to the calls above.
    platform::URLTransfer::Completion completion();

private:
    std::vector<uint8_t> data_;
};
