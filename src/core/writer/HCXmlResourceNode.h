#pragma once
// One element of resource XML being written: a key (the element name) with
// either a text value or child nodes. A node with a value is a text element
// and its children are ignored; a node without one writes its children.
//
// Output is one line without whitespace; every element has an explicit end
// tag, also when empty. Text is escaped (& < > " ' and the carriage
// return), so a player's text cannot break the document or add elements, and
// the reader gives it back unchanged; what XML cannot carry at all (control
// characters, broken UTF-8) becomes U+FFFD so that the rest still reads.
// Keys are the code's own element names and written as given.
//
// Thread: a plain value built and written on the caller's thread.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"

class HCXmlResourceNode final : public platform::Object {
public:
    using Children = std::vector<std::shared_ptr<HCXmlResourceNode>>;

    static constexpr const char* kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

    HCXmlResourceNode(std::string key, std::optional<std::string> value);
    HCXmlResourceNode(std::string key, Children children);

    static std::shared_ptr<HCXmlResourceNode> nodeWithKey(std::string key, std::optional<std::string> value);
    static std::shared_ptr<HCXmlResourceNode> nodeWithKey(std::string key, Children children);

    const std::string& key() const { return key_; }
    const std::optional<std::string>& value() const { return value_; }
    const Children& children() const { return children_; }

    // The XML declaration followed by this node.
    std::string toXmlString() const;
    void appendXmlToString(std::string& out) const;
    void openScope(std::string& out) const;
    void writeContent(std::string& out) const;
    void closeScope(std::string& out) const;

private:
    std::string key_;
    std::optional<std::string> value_;
    Children children_;
};
