#include "platform/ui/TextInput.h"

#include "platform/ui/Utf8.h"

namespace platform::ui {

std::string quotedForDump(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

std::string describeTextInput(const std::string& text, const std::string& placeholder, bool secure, bool editing)
{
    std::string out;
    if (!text.empty()) {
        std::string shown;
        if (secure) {
            for (size_t i = utf8::length(text); i > 0; --i) shown += "\u2022";
        } else {
            shown = text;
        }
        out = quotedForDump(shown);
    } else if (!placeholder.empty()) {
        out = "placeholder " + quotedForDump(placeholder);
    } else {
        out = "\"\"";
    }
    if (editing) out += " editing";
    return out;
}

}  // namespace platform::ui
