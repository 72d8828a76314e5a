#include "core/xp/HCResourceRequest.h"

void HCResourceRequest::prepareToExecute()
{
    receiveOwnJSON();
}

void HCResourceRequest::onResponseJSON(const platform::ObjectPtr& object, uint32_t responseCode)
{
    platform::ObjectPtr value = object;
    if (auto dictionary = platform::as<platform::Dictionary>(object); dictionary && dictionary->count() == 1)
        value = dictionary->entries().front().second;
    clearJSONReceiver();
    resources_ = value;
    httpResponseCode_ = responseCode;
    if (selector_ && !target_.expired()) selector_(platform::self(this));
}

void HCResourceRequest::onResponseText(const std::string&, uint32_t) {}
