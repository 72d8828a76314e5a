#pragma once
// The JSON request that screens and the session use: it decodes the reply
// itself and hands the request to one target method. A reply object with a
// single entry ({"users": [...]}) is unwrapped to that entry's value; a
// class-tagged reply ({"device": {...}}) arrives as the decoded object.
//
// Thread: main, as HCXPRequest.
#include <cstdint>
#include <functional>
#include <memory>

#include "core/xp/HCXPRequest.h"

class HCResourceRequest : public HCXPRequest, public HCXPResponseJSON, public HCXPResponseText {
public:
    using Selector = std::function<void(const std::shared_ptr<HCResourceRequest>&)>;

    // `selector` is called with the finished request. The target is not
    // retained: nothing is called once it is gone.
    template <class T>
    std::shared_ptr<HCResourceRequest> onRespondTarget(const std::shared_ptr<T>& target,
                                                       void (T::*selector)(const std::shared_ptr<HCResourceRequest>&))
    {
        std::weak_ptr<T> weak = target;
        target_ = target;
        selector_ = [weak, selector](const std::shared_ptr<HCResourceRequest>& request) {
            if (auto strong = weak.lock()) (strong.get()->*selector)(request);
        };
        return platform::self(this);
    }

    // Makes the request its own JSON receiver.
    void prepareToExecute() override;

    const platform::ObjectPtr& resources() const { return resources_; }
    uint32_t httpResponseCode() const { return httpResponseCode_; }

    void onResponseJSON(const platform::ObjectPtr& object, uint32_t responseCode) override;
    void onResponseText(const std::string& text, uint32_t responseCode) override;

private:
    std::weak_ptr<void> target_;
    Selector selector_;
    platform::ObjectPtr resources_;
    uint32_t httpResponseCode_ = 0;
};
