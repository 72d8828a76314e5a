#pragma once
// Reads a reply with expat into a small tree, so that tests check
// well-formedness and structure with a parser the server does not use.
// Any thread.
#include <optional>
#include <string>
#include <vector>

namespace localserver_test {

struct XmlElement {
    std::string name;
    std::string text;  // character data directly inside the element
    std::vector<XmlElement> children;

    const XmlElement* child(const std::string& name) const;
    std::vector<std::string> childNames() const;
};

// The document element; nothing when the text is not well-formed XML.
std::optional<XmlElement> parseXml(const std::string& text);

}  // namespace localserver_test
