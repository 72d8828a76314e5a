#pragma once
// A request whose body is a URL-encoded form: the fields given with
// addPostValue() are written as key=value pairs joined by "&" (each key and
// value percent-encoded as UTF-8, only RFC 3986's unreserved characters kept)
// with the matching Content-Type. Without fields the raw body stays. The
// method is sent as "POST" unless it is "PUT".
//
// Thread: as NetHTTPRequest.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/runtime/Object.h"
#include "transport/http/NetHTTPRequest.h"

class NetFormDataRequest : public NetHTTPRequest {
public:
    explicit NetFormDataRequest(std::string url) : NetHTTPRequest(std::move(url)) {}
    static std::shared_ptr<NetFormDataRequest> requestWithURL(const std::string& url);

    void addPostValue(const std::string& value, const std::string& key);
    // The object's text (a string's value, another object's description; nil is empty).
    void addPostValue(const platform::ObjectPtr& value, const std::string& key);

    void buildPostBody() override;
    std::shared_ptr<NetHTTPRequest> copy() const override;

protected:
    void copySettingsTo(NetHTTPRequest& target) const override;

private:
    mutable std::mutex fieldsMutex_;
    std::vector<std::pair<std::string, std::string>> fields_;  // key, value in the order added
};

