#pragma once
// Writes the service's XML replies: the flat form ("resources" with an
// optional "pagination_header" and "table_meta_data") and the sectioned form
// ("resource_sections" of "resource_section"). Output is one line without
// whitespace between elements, every element with an explicit end tag. Text
// is escaped, and bytes that XML 1.0 cannot carry (broken UTF-8, control
// characters) become U+FFFD, so whatever text a handler passes stays
// well-formed; element names are the code's own and written as given.
// Pure values and functions; any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "localserver/Request.h"

namespace localserver {

struct XmlNode {
    std::string name;
    std::optional<std::string> text;  // a text element when set, else children
    std::vector<XmlNode> children;

    static XmlNode leaf(std::string name, std::string text);
    static XmlNode parent(std::string name, std::vector<XmlNode> children = {});
    XmlNode& add(XmlNode child);
    XmlNode& add(std::string name, std::string text);
};

// A resource element: "id" first when given, then the fields in order.
XmlNode resourceNode(std::string name, const std::optional<std::string>& id, const Params& fields);
// A "server_notification" element with the given fields in order ("text",
// "detail", ...).
XmlNode serverNotificationNode(const Params& fields);

struct PaginationHeader {
    std::uint32_t currentOffset = 0;
    std::uint32_t currentPage = 0;
    std::uint32_t totalPages = 0;
    std::uint32_t perPage = 0;
    std::uint32_t totalEntries = 0;
};
// The header of 1-based `page` of `perPage` entries over `totalEntries`
// (a page below 1 counts as 1, a zero page size as 1).
PaginationHeader paginate(std::uint32_t totalEntries, std::uint32_t page, std::uint32_t perPage);

struct ResourceList {
    std::vector<XmlNode> resources;
    std::optional<PaginationHeader> header;
    std::optional<std::vector<XmlNode>> tableMetaData;
};

struct ResourceSection {
    std::string name;
    std::string identifier;
    ResourceList list;
};

inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::string escapeXmlText(std::string_view text);
std::string writeNode(const XmlNode& node);
// Declaration, then "resources" with header, table metadata and resources.
std::string writeFlatReply(const ResourceList& list);
// Declaration, then "resource_sections" with the table metadata first.
std::string writeSectionedReply(const std::vector<ResourceSection>& sections,
                                const std::optional<std::vector<XmlNode>>& tableMetaData = std::nullopt);
// The reply with `element` placed first inside its first "resources"
// element; nothing when the reply has none.
std::optional<std::string> insertIntoFirstResources(std::string_view reply, const XmlNode& element);

}  // namespace localserver
