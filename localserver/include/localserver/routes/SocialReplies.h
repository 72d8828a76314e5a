#pragma once
// What the chat, conversation, announcement and discovery routes share: a
// user's element, numbers and flags read leniently from parameters and
// fixtures, and one page of a list as a flat reply.
//
// Pure functions, except userNode, which reads the accounts (they lock).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "localserver/Request.h"
#include "localserver/XmlWriter.h"

namespace localserver {
class Server;

namespace social {

// The decimal number of the whole text; `fallback` for anything else.
long long number(const std::optional<std::string>& text, long long fallback);
// "true", "1" or "yes".
bool flag(const std::optional<std::string>& text);
bool blank(const std::optional<std::string>& text);
std::string boolText(bool value);

// "user" with id, name and picture URL (an unknown id keeps an empty name).
XmlNode userNode(Server& server, const std::string& userId);

// Page "page" (1-based, clamped) of `pageSize` nodes, with its header.
std::string pageReply(const Request& request, const std::vector<XmlNode>& all, std::uint32_t pageSize);
// One resource as a flat reply.
std::string oneReply(XmlNode node);

}  // namespace social
}  // namespace localserver
