#pragma once
// Reads named values out of an XML document, one scope at a time.
//
// The settings store hands one of these, positioned inside the settings file's
// "config" element, to the add-ons so that each can pick out its own keys.
// Each io() takes the first unread child of the current scope with that name
// (marking it read), converts its text and stores it; when there is no such
// child, or its text does not convert, io() answers false and leaves the value
// untouched, so a value set to its default beforehand keeps it.
//
// Conversions: texts as they stand (a child without text reads as nil, or as
// the empty text into a std::string); integers and doubles in decimal, with
// surrounding whitespace allowed, independent of the process locale, refused
// when out of range; booleans as their first significant character says (Y, y,
// T, t or a digit 1 to 9 after optional whitespace, sign and zeros is true;
// anything else false).
//
// Thread: the thread that owns the document.
#include <optional>
#include <string>

#include "kernel/memory/HCSmartObject.h"
#include "kernel/xml/HCXmlDocument.h"

class HCXmlReader final : public HCSmartObject {
public:
    explicit HCXmlReader(HCPointer<HCXmlDocument> document);

    // Enters the next unread child of that name for its lifetime (an empty
    // scope when there is none, in which every io() answers false).
    class Scope {
    public:
        Scope(HCXmlReader& reader, const char* name);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        HCXmlReader& reader_;
    };

    bool io(const char* name, std::optional<std::string>& value);
    bool io(const char* name, std::string& value);
    bool io(const char* name, long long& value);
    bool io(const char* name, int& value);
    bool io(const char* name, unsigned& value);
    bool io(const char* name, bool& value);
    bool io(const char* name, double& value);

    const HCPointer<HCXmlDocument>& document() const { return document_; }

private:
    // The next unread text of that name; false when there is no such child.
    bool take(const char* name, std::optional<std::string>& text);
    template <class Number>
    bool takeNumber(const char* name, Number& value);

    HCPointer<HCXmlDocument> document_;
};
