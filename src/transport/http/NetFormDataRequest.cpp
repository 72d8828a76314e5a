#include "transport/http/NetFormDataRequest.h"

#include "platform/foundation/Format.h"
#include "platform/foundation/Values.h"

namespace {
// The IANA name of the form's text encoding, UTF-8.
constexpr const char* kFormCharset = "utf-8";
}  // namespace

std::string netFormEncode(const std::string& text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

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
            body += netFormEncode(key) + "=" + netFormEncode(value);
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
