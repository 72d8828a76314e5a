#include "support/XmlTree.h"

#include <expat.h>

namespace localserver_test {

namespace {

struct Builder {
    XmlElement root;
    std::vector<XmlElement*> stack;
    bool started = false;
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char**)
{
    auto& b = *static_cast<Builder*>(data);
    if (!b.started) {
        b.started = true;
        b.root.name = name;
        b.stack.push_back(&b.root);
        return;
    }
    b.stack.back()->children.push_back(XmlElement{name, {}, {}});
    b.stack.push_back(&b.stack.back()->children.back());
}

void XMLCALL onEnd(void* data, const XML_Char*)
{
    static_cast<Builder*>(data)->stack.pop_back();
}

void XMLCALL onText(void* data, const XML_Char* text, int length)
{
    auto& b = *static_cast<Builder*>(data);
    if (!b.stack.empty()) {
        b.stack.back()->text.append(text, static_cast<size_t>(length));
    }
}

}  // namespace

const XmlElement* XmlElement::child(const std::string& wanted) const
{
    for (const auto& c : children) {
        if (c.name == wanted) {
            return &c;
        }
    }
    return nullptr;
}

std::vector<std::string> XmlElement::childNames() const
{
    std::vector<std::string> names;
    for (const auto& c : children) {
        names.push_back(c.name);
    }
    return names;
}

std::optional<XmlElement> parseXml(const std::string& text)
{
    Builder builder;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &builder);
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onText);
    const bool ok = XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    if (!ok || !builder.started) {
        return std::nullopt;
    }
    return builder.root;
}

}  // namespace localserver_test
