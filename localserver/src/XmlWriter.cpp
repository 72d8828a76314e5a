#include "localserver/XmlWriter.h"

#include "TextBytes.h"

namespace localserver {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

bool allowedInXml(std::uint32_t cp)
{
    if (cp < 0x20) {
        return cp == 0x09 || cp == 0x0A || cp == 0x0D;
    }
    return !(cp >= 0xD800 && cp <= 0xDFFF) && cp != 0xFFFE && cp != 0xFFFF && cp <= 0x10FFFF;
}

void appendEscaped(std::string& out, std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t cp = 0;
        const std::size_t length = decodeUtf8(text, i, cp);
        if (length == 0 || !allowedInXml(cp)) {
            out += kReplacement;
            i += length == 0 ? 1 : length;
            continue;
        }
        switch (text[i]) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        // A raw carriage return would read back as a line feed.
        case '\r': out += "&#13;"; break;
        default: out.append(text.substr(i, length)); break;
        }
        i += length;
    }
}

void appendNode(std::string& out, const XmlNode& node)
{
    out.push_back('<');
    out += node.name;
    out.push_back('>');
    if (node.text) {
        appendEscaped(out, *node.text);
    } else {
        for (const auto& child : node.children) {
            appendNode(out, child);
        }
    }
    out += "</";
    out += node.name;
    out.push_back('>');
}

void appendList(std::string& out, const ResourceList& list)
{
    out += "<resources>";
    if (list.header) {
        const PaginationHeader& h = *list.header;
        appendNode(out, XmlNode::parent("pagination_header",
                                        {XmlNode::leaf("current_offset", std::to_string(h.currentOffset)),
                                         XmlNode::leaf("current_page", std::to_string(h.currentPage)),
                                         XmlNode::leaf("total_pages", std::to_string(h.totalPages)),
                                         XmlNode::leaf("per_page", std::to_string(h.perPage)),
                                         XmlNode::leaf("total_entries", std::to_string(h.totalEntries))}));
    }
    if (list.tableMetaData) {
        appendNode(out, XmlNode::parent("table_meta_data", *list.tableMetaData));
    }
    for (const auto& resource : list.resources) {
        appendNode(out, resource);
    }
    out += "</resources>";
}

}  // namespace

XmlNode XmlNode::leaf(std::string name, std::string text)
{
    return XmlNode{std::move(name), std::move(text), {}};
}

XmlNode XmlNode::parent(std::string name, std::vector<XmlNode> children)
{
    return XmlNode{std::move(name), std::nullopt, std::move(children)};
}

XmlNode& XmlNode::add(XmlNode child)
{
    children.push_back(std::move(child));
    return *this;
}

XmlNode& XmlNode::add(std::string name, std::string text)
{
    return add(leaf(std::move(name), std::move(text)));
}

XmlNode resourceNode(std::string name, const std::optional<std::string>& id, const Params& fields)
{
    XmlNode node = XmlNode::parent(std::move(name));
    if (id) {
        node.add("id", *id);
    }
    for (const auto& [key, value] : fields) {
        node.add(key, value);
    }
    return node;
}

XmlNode serverNotificationNode(const Params& fields)
{
    return resourceNode("server_notification", std::nullopt, fields);
}

PaginationHeader paginate(std::uint32_t totalEntries, std::uint32_t page, std::uint32_t perPage)
{
    PaginationHeader header;
    header.perPage = perPage == 0 ? 1 : perPage;
    header.currentPage = page == 0 ? 1 : page;
    header.totalEntries = totalEntries;
    header.totalPages = static_cast<std::uint32_t>((std::uint64_t(totalEntries) + header.perPage - 1) / header.perPage);
    const std::uint64_t offset = std::uint64_t(header.currentPage - 1) * header.perPage;
    header.currentOffset = offset > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(offset);
    return header;
}

std::string escapeXmlText(std::string_view text)
{
    std::string out;
    appendEscaped(out, text);
    return out;
}

std::string writeNode(const XmlNode& node)
{
    std::string out;
    appendNode(out, node);
    return out;
}

std::string writeFlatReply(const ResourceList& list)
{
    std::string out(kXmlDeclaration);
    appendList(out, list);
    return out;
}

std::string writeSectionedReply(const std::vector<ResourceSection>& sections,
                                const std::optional<std::vector<XmlNode>>& tableMetaData)
{
    std::string out(kXmlDeclaration);
    out += "<resource_sections>";
    if (tableMetaData) {
        appendNode(out, XmlNode::parent("table_meta_data", *tableMetaData));
    }
    for (const auto& section : sections) {
        out += "<resource_section>";
        appendNode(out, XmlNode::leaf("name", section.name));
        appendNode(out, XmlNode::leaf("identifier", section.identifier));
        appendList(out, section.list);
        out += "</resource_section>";
    }
    out += "</resource_sections>";
    return out;
}

std::optional<std::string> insertIntoFirstResources(std::string_view reply, const XmlNode& element)
{
    static constexpr std::string_view kOpen = "<resources>";
    const std::size_t at = reply.find(kOpen);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string out(reply.substr(0, at + kOpen.size()));
    appendNode(out, element);
    out.append(reply.substr(at + kOpen.size()));
    return out;
}

}  // namespace localserver
