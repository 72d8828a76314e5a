#include "kernel/xml/HCXmlTreeParser.h"

#include <expat.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// Feeding expat in bounded chunks keeps its int lengths safe for any input size.
constexpr size_t kChunkSize = 1u << 20;

struct OpenElement {
    HCPointer<HCXmlElement> element;
    std::string text;
    bool sawText = false;
};

struct TreeBuilder {
    XML_Parser parser = nullptr;
    HCXmlParseLimits limits;
    HCPointer<HCXmlElement> top = std::make_shared<HCXmlElement>(std::string());
    std::vector<OpenElement> open;
    size_t elementCount = 0;
    size_t textBytes = 0;
    // expat may still deliver a call-back or two after a stop (the end of an
    // empty element); once stopped, the tree takes nothing more.
    bool stopped = false;

    void stop()
    {
        if (!stopped) {
            stopped = true;
            XML_StopParser(parser, XML_FALSE);
        }
    }

    static bool isXmlWhitespace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    static void close(OpenElement& e)
    {
        if (!e.sawText) {
            return;
        }
        const bool onlyWhitespace = std::all_of(e.text.begin(), e.text.end(), isXmlWhitespace);
        if (onlyWhitespace && e.element->numChildren() > 0) {
            return;
        }
        e.element->setValue(std::move(e.text));
    }

    void startElement(const XML_Char* name)
    {
        if (stopped) {
            return;
        }
        if (open.size() >= limits.maxDepth || elementCount >= limits.maxElements) {
            stop();
            return;
        }
        ++elementCount;
        auto element = std::make_shared<HCXmlElement>(std::string(name));
        (open.empty() ? top : open.back().element)->addChild(element);
        open.push_back(OpenElement{std::move(element), std::string(), false});
    }

    void endElement()
    {
        if (stopped || open.empty()) {
            return;
        }
        close(open.back());
        open.pop_back();
    }

    void characters(const XML_Char* s, int len)
    {
        if (stopped || open.empty() || len <= 0) {
            return;
        }
        const size_t n = static_cast<size_t>(len);
        if (n > limits.maxTextBytes - std::min(textBytes, limits.maxTextBytes)) {
            stop();
            return;
        }
        textBytes += n;
        OpenElement& e = open.back();
        e.text.append(s, n);
        e.sawText = true;
    }

    // Elements left open by an error or a truncated input keep what they had.
    void closeAll()
    {
        while (!open.empty()) {
            close(open.back());
            open.pop_back();
        }
    }
};

void XMLCALL onStart(void* userData, const XML_Char* name, const XML_Char** /*attributes*/)
{
    static_cast<TreeBuilder*>(userData)->startElement(name);
}

void XMLCALL onEnd(void* userData, const XML_Char* /*name*/)
{
    static_cast<TreeBuilder*>(userData)->endElement();
}

void XMLCALL onCharacters(void* userData, const XML_Char* s, int len)
{
    static_cast<TreeBuilder*>(userData)->characters(s, len);
}

// Any entity declaration ends the parse: the service never declares entities,
// and refusing them rules out expansion bombs and external fetches alike.
void XMLCALL onEntityDeclaration(void* userData, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                 const XML_Char*, const XML_Char*, const XML_Char*)
{
    static_cast<TreeBuilder*>(userData)->stop();
}

}  // namespace

HCPointer<HCXmlElement> parseXmlTree(const void* bytes, size_t length, const HCXmlParseLimits& limits)
{
    TreeBuilder builder;
    builder.limits = limits;
    if (bytes == nullptr || length == 0) {
        return builder.top;
    }
    builder.parser = XML_ParserCreate(nullptr);
    if (builder.parser == nullptr) {
        return builder.top;
    }
    XML_SetUserData(builder.parser, &builder);
    XML_SetElementHandler(builder.parser, onStart, onEnd);
    XML_SetCharacterDataHandler(builder.parser, onCharacters);
    XML_SetEntityDeclHandler(builder.parser, onEntityDeclaration);
    XML_SetParamEntityParsing(builder.parser, XML_PARAM_ENTITY_PARSING_NEVER);

    const char* data = static_cast<const char*>(bytes);
    size_t offset = 0;
    while (offset < length) {
        const size_t n = std::min(kChunkSize, length - offset);
        const bool last = offset + n == length;
        if (XML_Parse(builder.parser, data + offset, static_cast<int>(n), last ? XML_TRUE : XML_FALSE) !=
            XML_STATUS_OK) {
            break;
        }
        offset += n;
    }
    XML_ParserFree(builder.parser);
    builder.closeAll();
    return builder.top;
}
