#pragma once
// What a finished signed request got back: the HTTP response (status code,
// headers) when there was a reply at all.
//
// Thread: immutable once made; any thread.
#include <memory>
#include <string>

#include "platform/net/HttpHeaders.h"
#include "platform/runtime/Object.h"

class HTTPURLResponse final : public platform::Object {
public:
    HTTPURLResponse(std::string url, int statusCode, platform::HttpHeaders headers)
        : url_(std::move(url)), statusCode_(statusCode), headers_(std::move(headers))
    {
    }
    const std::string& url() const { return url_; }
    int statusCode() const { return statusCode_; }
    const platform::HttpHeaders& allHeaderFields() const { return headers_; }

private:
    std::string url_;
    int statusCode_;
    platform::HttpHeaders headers_;
};

class OAuthServiceResponse final : public platform::Object {
public:
    explicit OAuthServiceResponse(std::shared_ptr<HTTPURLResponse> urlResponse) : urlResponse_(std::move(urlResponse)) {}
    // nullptr when the request failed before any reply arrived.
    const std::shared_ptr<HTTPURLResponse>& urlResponse() const { return urlResponse_; }

private:
    std::shared_ptr<HTTPURLResponse> urlResponse_;
};
