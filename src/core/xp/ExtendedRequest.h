#pragma once
// The transport requests that carry a JSON request: a plain one (GET,
// DELETE) and a form (POST, PUT). Each runs its JSON request's reply
// preparation in the transport's completion step, before the delegate hears
// of the reply, and copies to its own class so a retry keeps the same kind.
//
// While in flight the transport request holds its JSON request (the pair
// keeps itself alive); the JSON request drops the transport request when it
// has delivered, which ends the pair.
//
// Thread: as NetHTTPRequest; the back pointer is guarded because the
// completion step reads it on the transport's thread.
#include <memory>
#include <mutex>

#include "transport/http/NetFormDataRequest.h"
#include "transport/http/NetHTTPRequest.h"

class HCXPRequest;

class ExtendedRequest {
public:
    virtual ~ExtendedRequest() = default;
    void setXPRequest(std::shared_ptr<HCXPRequest> request);
    std::shared_ptr<HCXPRequest> xpRequest() const;

protected:
    void prepareReply(const NetHTTPRequest& transport) const;

private:
    mutable std::mutex mutex_;
    std::shared_ptr<HCXPRequest> xpRequest_;
};

class ExtendedGetRequest final : public NetHTTPRequest, public ExtendedRequest {
public:
    explicit ExtendedGetRequest(std::string url) : NetHTTPRequest(std::move(url)) {}
    std::shared_ptr<NetHTTPRequest> copy() const override;

protected:
    void requestFinished() override;
};

class ExtendedFormRequest final : public NetFormDataRequest, public ExtendedRequest {
public:
    explicit ExtendedFormRequest(std::string url) : NetFormDataRequest(std::move(url)) {}
    std::shared_ptr<NetHTTPRequest> copy() const override;

protected:
    void requestFinished() override;
};
