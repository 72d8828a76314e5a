#include "core/writer/HCXmlResourceNode.h"

#include "platform/foundation/XmlText.h"

HCXmlResourceNode::HCXmlResourceNode(std::string key, std::optional<std::string> value)
    : key_(std::move(key)), value_(std::move(value))
{
}

HCXmlResourceNode::HCXmlResourceNode(std::string key, Children children)
    : key_(std::move(key)), children_(std::move(children))
{
}

std::shared_ptr<HCXmlResourceNode> HCXmlResourceNode::nodeWithKey(std::string key, std::optional<std::string> value)
{
    return std::make_shared<HCXmlResourceNode>(std::move(key), std::move(value));
}

std::shared_ptr<HCXmlResourceNode> HCXmlResourceNode::nodeWithKey(std::string key, Children children)
{
    return std::make_shared<HCXmlResourceNode>(std::move(key), std::move(children));
}

std::string HCXmlResourceNode::toXmlString() const
{
    std::string out = kXmlDeclaration;
    appendXmlToString(out);
    return out;
}

void HCXmlResourceNode::appendXmlToString(std::string& out) const
{
    openScope(out);
    writeContent(out);
    closeScope(out);
}

void HCXmlResourceNode::openScope(std::string& out) const
{
    out += '<';
    out += key_;
    out += '>';
}

void HCXmlResourceNode::writeContent(std::string& out) const
{
    if (value_) {
        out += platform::escapeXmlText(*value_);
        return;
    }
    for (const auto& child : children_) {
        if (child) {
            child->appendXmlToString(out);
        }
    }
}

void HCXmlResourceNode::closeScope(std::string& out) const
{
    out += "</";
    out += key_;
    out += '>';
}

