#pragma once
// The little JSON the service writes for its "/xp/" routes: objects with
// members in the order given, strings escaped (invalid UTF-8 becomes
// U+FFFD), and the error form {"exception": {"class": ..., "message": ...}}.
// Pure functions; any thread.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "localserver/Request.h"

namespace localserver::json {

// A quoted, escaped JSON string.
std::string quote(std::string_view text);

// Members are raw JSON values: quote() a text, pass "true", a number, or
// another object's str().
class Object {
public:
    Object& raw(std::string key, std::string json);
    Object& text(std::string key, std::string_view value) { return raw(std::move(key), quote(value)); }
    Object& boolean(std::string key, bool value) { return raw(std::move(key), value ? "true" : "false"); }
    std::string str() const;

private:
    std::vector<std::pair<std::string, std::string>> members_;
};

std::string array(const std::vector<std::string>& rawItems);

// A reply with "application/json; charset=utf-8".
Reply reply(int status, std::string body);
// The service's error form with the given status.
Reply exception(int status, std::string_view className, std::string_view message);

}  // namespace localserver::json
