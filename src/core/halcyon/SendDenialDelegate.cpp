#include "core/halcyon/SendDenialDelegate.h"

#include "core/halcyon/HalcyonUserOptionsStore.h"

namespace {
constexpr int kCreated = 201;
}  // namespace

void SendDenialDelegate::connectionDidReceiveResponse(const platform::URLResponse& response)
{
    data_ = response.body;
    if (response.statusCode == kCreated) {
        userOptionsStore()->setObject(kSentDisapprovalKey, platform::String::make("YES"));
    }
}

void SendDenialDelegate::connectionDidFailWithError(const platform::NetErrorPtr&)
{
}

platform::URLTransfer::Completion SendDenialDelegate::completion()
{
    auto self = std::static_pointer_cast<SendDenialDelegate>(shared_from_this());
    return [self](const platform::URLResult& result) {
        if (result.isReply()) {
            self->connectionDidReceiveResponse(result.response);
        } else {
            self->connectionDidFailWithError(result.error);
        }
    };
}
