#pragma once
// A parsed XML document with a stack of scopes for walking it.
//
// Every XML reply of the service and every XML file of the bundle is read
// through this class. The tree hangs under a synthetic top element and the
// scope stack starts there. A scope is an element, or an "empty scope" when a
// reader asked to enter an element that was not there: reads in an empty scope
// find nothing, so a reader can walk a reply that lacks a part without testing
// every step.
//
// Parsing never fails (see HCXmlTreeParser.h for how damaged or hostile input
// is handled): the worst input gives a document with nothing in it.
//
// Thread: one thread at a time; replies are parsed and read on the provider's
// request thread, bundle files on the thread that loads them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/memory/HCSmartObject.h"
#include "kernel/xml/HCXmlElement.h"

class HCXmlDocument final : public HCSmartObject {
public:
    static HCPointer<HCXmlDocument> xmlDocumentWithData(const void* bytes, size_t length);
    static HCPointer<HCXmlDocument> xmlDocumentWithData(std::string_view bytes);
    static HCPointer<HCXmlDocument> xmlDocumentWithData(const std::vector<uint8_t>& bytes);

    // A document over an already built tree; `top` is the synthetic top element.
    explicit HCXmlDocument(HCPointer<HCXmlElement> top, bool whole = true);

    // NO when the bytes were not one well-formed document read to its end:
    // the tree then holds only their leading part, which a reader that must
    // not act on half a reply refuses.
    bool isWhole() const { return whole_; }

    const HCPointer<HCXmlElement>& getTopElement() const { return top_; }
    // The element of the current scope; nullptr inside an empty scope.
    HCPointer<HCXmlElement> getCurrentScope() const { return scopes_.back(); }

    // Enters the next unread child of that name of the current scope, marking it
    // read, or an empty scope when there is none. Always pushes one scope.
    void pushNextScope(const char* name);
    // As pushNextScope, but pushes nothing and answers false when the current
    // scope has no unread child of that name.
    bool pushNextUnreadScopeWithNameIfAvailable(const char* name);
    // Leaves the current scope. The top scope is never left.
    void popScope();

    // The next unread child of the current scope, marked read; nullptr when none
    // is left or the scope is empty.
    HCPointer<HCXmlElement> readNextElement();
    // The text of the first unread child with that name (marked read); false
    // with `outValue` untouched when there is none.
    bool nextValueAtCurrentScopeWithKey(const char* key, std::optional<std::string>& outValue);

    // The text of the first element with that name anywhere in the document
    // (document order); nil when there is none or it has no text. Read marks
    // are neither consulted nor changed.
    std::optional<std::string> getElementValue(const char* name) const;
    // Follows a dotted path such as "errors.TwitterCredential": the first
    // component must name the document element, each later one the first child
    // of that name. The text reached, or the empty text when the document is
    // empty, a component is missing or the element has no text. Read marks are
    // neither consulted nor changed.
    std::string getElementValueAtPath(const char* dottedPath) const;

private:
    HCPointer<HCXmlElement> top_;
    bool whole_ = true;
    // Never empty: scopes_.front() is top_. nullptr entries are empty scopes.
    std::vector<HCPointer<HCXmlElement>> scopes_;
};
