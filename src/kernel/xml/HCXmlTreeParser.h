#pragma once
// Builds an element tree from XML bytes with expat.
//
// The tree hangs under a synthetic top element (empty name) whose one child is
// the document element. The parse is forgiving: at the first error it stops
// and keeps every element built so far, so a truncated or damaged reply still
// yields its leading part. It is also defensive against hostile input: a
// document type that declares any entity stops the parse (no entity is ever
// expanded and nothing external is loaded), and the limits below bound the
// memory a reply can make us spend.
//
// Text: an element's value is the concatenation of its character data with
// entities and CDATA decoded. An element without character data has no value
// (nil); so has an element with children whose character data is only
// whitespace (the indentation between its children). A leaf keeps its text
// exactly, whitespace included.
//
// Thread: any thread; a call shares nothing with other calls.
#include <cstddef>

#include "kernel/xml/HCXmlElement.h"

struct HCXmlParseLimits {
    // Elements nested deeper than this are dropped and the parse stops.
    size_t maxDepth = 256;
    // Character data kept over the whole document; beyond it the parse stops.
    size_t maxTextBytes = 16u * 1024u * 1024u;
    // Elements built over the whole document; beyond it the parse stops.
    // The longest real reply, a full friends list of 10,000 players, holds
    // about 61,000 (six per player); the bound leaves room for three times
    // that and still holds a hostile reply's tree to some tens of MB (each
    // element costs a few hundred bytes and some time on the request
    // thread). A reply past it fails whole.
    size_t maxElements = 200000;
};

// Never fails: returns the synthetic top element, with no children when
// nothing could be read. `whole`, when given, tells whether the bytes were
// one well-formed document read to its end (not cut short, damaged or
// stopped by a limit).
HCPointer<HCXmlElement> parseXmlTree(const void* bytes, size_t length, const HCXmlParseLimits& limits = {},
                                     bool* whole = nullptr);
