#include "kernel/xml/HCXmlTreeParser.h"

#include <expat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kernel/xml/HCXmlTreeStorage.h"

namespace {

// Feeding expat in bounded chunks keeps its int lengths safe for any input
// size. Every reply fits in one: a parse fed in pieces costs expat a fifth
// more (it re-reads each piece to track its position).
constexpr size_t kChunkSize = 1u << 26;

struct OpenElement {
    HCXmlElement* element = nullptr;
    // Where this element's finished children begin in TreeBuilder::finished.
    size_t firstChild = 0;
    std::string text;
    bool sawText = false;
};

struct TreeBuilder {
    explicit TreeBuilder(size_t length) : storage(HCXmlTreeStorage::create(length)), top(storage->makeElement("")) {}

    XML_Parser parser = nullptr;
    HCXmlParseLimits limits;
    std::shared_ptr<HCXmlTreeStorage> storage;
    HCXmlElement* top;
    // open[0, depth) are the elements being read, innermost last. Entries
    // above depth are kept for their text buffers' capacity.
    std::vector<OpenElement> open;
    size_t depth = 0;
    // The closed elements whose parent is still open, in document order;
    // an element takes its children from here as it closes.
    std::vector<HCXmlElement*> finished;
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

    static bool onlyWhitespace(const std::string& text)
    {
        return std::all_of(text.begin(), text.end(),
                           [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
    }

    void takeChildren(HCXmlElement* parent, size_t firstChild)
    {
        storage->appendChildren(parent, finished.data() + firstChild, finished.size() - firstChild);
        finished.resize(firstChild);
    }

    void closeInnermost()
    {
        OpenElement& e = open[--depth];
        const bool hasChildren = finished.size() > e.firstChild;
        takeChildren(e.element, e.firstChild);
        // Copied into the tree's arena; the buffer keeps its capacity for the
        // next element at this depth.
        if (e.sawText && (!hasChildren || !onlyWhitespace(e.text))) storage->setValue(e.element, e.text);
        finished.push_back(e.element);
    }

    void startElement(const XML_Char* name)
    {
        if (stopped) {
            return;
        }
        if (depth >= limits.maxDepth || elementCount >= limits.maxElements) {
            stop();
            return;
        }
        ++elementCount;
        if (depth == open.size()) open.emplace_back();
        OpenElement& e = open[depth++];
        e.element = storage->makeElement(name);
        e.firstChild = finished.size();
        e.text.clear();
        e.sawText = false;
    }

    void endElement()
    {
        if (stopped || depth == 0) {
            return;
        }
        closeInnermost();
    }

    void characters(const XML_Char* s, int len)
    {
        if (stopped || depth == 0 || len <= 0) {
            return;
        }
        const size_t n = static_cast<size_t>(len);
        // No overflow: textBytes never passes the input's length.
        textBytes += n;
        if (textBytes > limits.maxTextBytes) {
            stop();
            return;
        }
        OpenElement& e = open[depth - 1];
        e.text.append(s, n);
        e.sawText = true;
    }

    // Elements left open by an error or a truncated input keep what they had;
    // what is finished then hangs under the top element.
    HCPointer<HCXmlElement> finish()
    {
        while (depth > 0) closeInnermost();
        takeChildren(top, 0);
        return storage->pointerTo(top);
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

HCPointer<HCXmlElement> parseXmlTree(const void* bytes, size_t length, const HCXmlParseLimits& limits, bool* whole)
{
    if (whole != nullptr) *whole = false;
    TreeBuilder builder(length);
    builder.limits = limits;
    if (bytes == nullptr || length == 0) {
        return builder.finish();
    }
    builder.parser = XML_ParserCreate(nullptr);
    if (builder.parser == nullptr) {
        return builder.finish();
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
    if (whole != nullptr) *whole = offset == length && !builder.stopped;
    XML_ParserFree(builder.parser);
    return builder.finish();
}
