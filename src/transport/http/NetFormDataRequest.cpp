#include "transport/http/NetFormDataRequest.h"

#include "platform/foundation/Format.h"
#include "platform/foundation/Values.h"
#include "platform/net/PercentEncoding.h"

namespace {
// The IANA name of the form's text encoding, UTF-8.
constexpr const char* kFormCharset = "utf-8";
}  // namespace

std::shared_ptr<NetFormDataRequest> NetFormDataRequest::requestWithURL(const std::string& url)
{
    return std::make_shared<NetFormDataRequest>(url);
}

void NetFormDataRequest::addPostValue(const std::string& value, const std::string& key)
{
    std::lock_guard lock(fieldsMutex_);
    fields_.emplace_back(key, value);
}

void NetFormDataRequest::addPostValue(const platform::ObjectPtr& value, const std::string& key)
{
    addPostValue(platform::textOf(value).value_or(std::string()), key);
}

void NetFormDataRequest::buildPostBody()
{
    if (requestMethod() != "PUT") setRequestMethod("POST");
    std::string body;
    {
        std::lock_guard lock(fieldsMutex_);
        if (fields_.empty()) return;
        for (const auto& [key, value] : fields_) {
            if (!body.empty()) body += '&';
            body += platform::percentEncode(key) + "=" + platform::percentEncode(value);
        }
    }
    setPostBody(std::vector<uint8_t>(body.begin(), body.end()));
    addRequestHeader("Content-Type", platform::format("application/x-www-form-urlencoded; charset=%@", kFormCharset));
}

std::shared_ptr<NetHTTPRequest> NetFormDataRequest::copy() const
{
    auto c = std::make_shared<NetFormDataRequest>(url());
    copySettingsTo(*c);
    return c;
}

void NetFormDataRequest::copySettingsTo(NetHTTPRequest& target) const
{
    NetHTTPRequest::copySettingsTo(target);
    auto* form = dynamic_cast<NetFormDataRequest*>(&target);
    if (!form) return;
    std::scoped_lock lock(fieldsMutex_, form->fieldsMutex_);
    form->fields_ = fields_;
}
