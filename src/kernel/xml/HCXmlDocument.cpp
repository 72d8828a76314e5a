#include "kernel/xml/HCXmlDocument.h"

#include <utility>

#include "kernel/xml/HCXmlTreeParser.h"

namespace {

HCPointer<HCXmlElement> findFirstNamed(const HCPointer<HCXmlElement>& element, const std::string& name)
{
    for (size_t i = 0; i < element->numChildren(); ++i) {
        HCPointer<HCXmlElement> child = element->getChild(i);
        if (child->name() == name) {
            return child;
        }
        if (HCPointer<HCXmlElement> found = findFirstNamed(child, name)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

HCPointer<HCXmlDocument> HCXmlDocument::xmlDocumentWithData(const void* bytes, size_t length)
{
    bool whole = false;
    auto top = parseXmlTree(bytes, length, {}, &whole);
    return std::make_shared<HCXmlDocument>(std::move(top), whole);
}

HCPointer<HCXmlDocument> HCXmlDocument::xmlDocumentWithData(std::string_view bytes)
{
    return xmlDocumentWithData(bytes.data(), bytes.size());
}

HCPointer<HCXmlDocument> HCXmlDocument::xmlDocumentWithData(const std::vector<uint8_t>& bytes)
{
    return xmlDocumentWithData(bytes.data(), bytes.size());
}

HCXmlDocument::HCXmlDocument(HCPointer<HCXmlElement> top, bool whole)
    : top_(top != nullptr ? std::move(top) : std::make_shared<HCXmlElement>(std::string())), whole_(whole)
{
    scopes_.push_back(top_);
}

void HCXmlDocument::pushNextScope(const char* name)
{
    const HCPointer<HCXmlElement>& current = scopes_.back();
    scopes_.push_back(current != nullptr ? current->dequeueNextUnreadChild(name) : nullptr);
}

bool HCXmlDocument::pushNextUnreadScopeWithNameIfAvailable(const char* name)
{
    const HCPointer<HCXmlElement>& current = scopes_.back();
    if (current == nullptr) {
        return false;
    }
    HCPointer<HCXmlElement> child = current->dequeueNextUnreadChild(name);
    if (child == nullptr) {
        return false;
    }
    scopes_.push_back(std::move(child));
    return true;
}

void HCXmlDocument::popScope()
{
    if (scopes_.size() > 1) {
        scopes_.pop_back();
    }
}

HCPointer<HCXmlElement> HCXmlDocument::readNextElement()
{
    const HCPointer<HCXmlElement>& current = scopes_.back();
    return current != nullptr ? current->dequeueNextUnreadChild() : nullptr;
}

bool HCXmlDocument::nextValueAtCurrentScopeWithKey(const char* key, std::optional<std::string>& outValue)
{
    const HCPointer<HCXmlElement>& current = scopes_.back();
    return current != nullptr && current->getValueWithName(key, outValue, true);
}

std::optional<std::string> HCXmlDocument::getElementValue(const char* name) const
{
    if (name == nullptr) {
        return std::nullopt;
    }
    HCPointer<HCXmlElement> found = findFirstNamed(top_, name);
    return found != nullptr ? found->value() : std::nullopt;
}

std::string HCXmlDocument::getElementValueAtPath(const char* dottedPath) const
{
    if (dottedPath == nullptr) {
        return std::string();
    }
    const std::string_view path(dottedPath);
    HCPointer<HCXmlElement> element = top_;
    size_t start = 0;
    while (element != nullptr) {
        const size_t dot = path.find('.', start);
        const std::string component(path.substr(start, dot == std::string_view::npos ? path.npos : dot - start));
        element = element->firstChildNamed(component.c_str());
        if (dot == std::string_view::npos) {
            break;
        }
        start = dot + 1;
    }
    return element != nullptr ? element->value().value_or(std::string()) : std::string();
}
