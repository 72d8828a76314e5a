#pragma once
// A page's call into native code: "halcyon://<action>/<argument>/...", each
// part percent-escaped. The scheme compares without regard to case; the
// action and the arguments are the decoded path segments (an empty argument
// is kept, so "push//x" has two). A query or fragment is not part of it.
//
// Thread: any thread (a value).
#include <optional>
#include <string>
#include <vector>

struct HCWebActionURL {
    static constexpr const char* kScheme = "halcyon";

    std::string action;
    std::vector<std::string> arguments;

    static bool hasActionScheme(const std::string& url);
    // Nil when the URL is not an action: another scheme, no action name, a
    // malformed escape or an escaped NUL.
    static std::optional<HCWebActionURL> parse(const std::string& url);
};
