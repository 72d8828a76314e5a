#include "platform/foundation/PropertyListWriter.h"

#include <charconv>

#include "platform/foundation/Base64.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Values.h"
#include "platform/foundation/XmlText.h"

namespace platform {
namespace {

constexpr int kPropertyListWriterMaxDepth = 512;

void indent(std::string& out, int depth)
{
    out.append(static_cast<size_t>(depth), '\t');
}

bool writeValue(std::string& out, const ObjectPtr& value, int depth)
{
    if (!value || depth > kPropertyListWriterMaxDepth) return false;
    indent(out, depth);
    if (auto s = as<String>(value)) {
        out += "<string>";
        out += escapeXmlText(s->value());
        out += "</string>\n";
    } else if (auto n = as<Number>(value)) {
        if (n->isBoolean()) {
            out += n->boolValue() ? "<true/>\n" : "<false/>\n";
        } else if (n->isFloatingPoint()) {
            char buf[64];
            auto result = std::to_chars(buf, buf + sizeof buf, n->doubleValue());
            out += "<real>" + std::string(buf, result.ptr) + "</real>\n";
        } else {
            out += "<integer>" + std::to_string(n->longLongValue()) + "</integer>\n";
        }
    } else if (auto d = as<Data>(value)) {
        out += "<data>" + base64Encode(d->bytes()) + "</data>\n";
    } else if (auto date = as<Date>(value)) {
        // Years outside 1 to 9999 have no text that reads back.
        const DateFormatter& formatter = DateFormatter::railsFormatter();
        std::string text = formatter.stringFromDate(*date);
        if (!formatter.dateFromString(text)) return false;
        out += "<date>" + text + "</date>\n";
    } else if (auto array = as<Array>(value)) {
        out += "<array>\n";
        for (auto& item : array->items())
            if (!writeValue(out, item, depth + 1)) return false;
        indent(out, depth);
        out += "</array>\n";
    } else if (auto dict = as<Dictionary>(value)) {
        out += "<dict>\n";
        for (auto& [key, item] : dict->entries()) {
            indent(out, depth + 1);
            out += "<key>";
            out += escapeXmlText(key);
            out += "</key>\n";
            if (!writeValue(out, item, depth + 1)) return false;
        }
        indent(out, depth);
        out += "</dict>\n";
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> PropertyListWriter::write(const ObjectPtr& root)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n";
    if (!writeValue(out, root, 0)) return std::nullopt;
    out += "</plist>\n";
    return out;
}

}  // namespace platform
