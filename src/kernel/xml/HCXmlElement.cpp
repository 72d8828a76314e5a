#include "kernel/xml/HCXmlElement.h"

#include <utility>

#include "kernel/xml/HCXmlTreeStorage.h"

HCXmlElement::HCXmlElement(std::string name, std::optional<std::string> value)
    : ownName_(std::make_unique<const std::string>(std::move(name))), name_(ownName_.get())
{
    setValue(std::move(value));
}

HCXmlElement::HCXmlElement(const std::string* internedName, HCXmlTreeStorage* storage,
                           std::pmr::memory_resource* arena)
    : name_(internedName), children_(arena), storage_(storage)
{
}

std::optional<std::string_view> HCXmlElement::text() const
{
    if (text_ == nullptr) return std::nullopt;
    return std::string_view(text_, textLength_);
}

std::optional<std::string> HCXmlElement::value() const
{
    if (text_ == nullptr) return std::nullopt;
    return std::string(text_, textLength_);
}

void HCXmlElement::setValue(std::optional<std::string> value)
{
    ownValue_ = value ? std::make_unique<const std::string>(std::move(*value)) : nullptr;
    text_ = ownValue_ ? ownValue_->data() : nullptr;
    textLength_ = ownValue_ ? ownValue_->size() : 0;
}

HCPointer<HCXmlElement> HCXmlElement::pointerTo(HCXmlElement* child) const
{
    if (child->storage_ != nullptr) return child->storage_->pointerTo(child);
    return std::static_pointer_cast<HCXmlElement>(child->shared_from_this());
}

void HCXmlElement::addChild(HCPointer<HCXmlElement> child)
{
    if (child == nullptr) {
        return;
    }
    // A child of this element's own tree lives as long as the tree does;
    // any other is held here.
    if (storage_ == nullptr || child->storage_ != storage_) {
        if (!adopted_) adopted_ = std::make_unique<std::vector<HCPointer<HCXmlElement>>>();
        adopted_->push_back(child);
    }
    children_.push_back(Child{child.get(), false});
}

HCPointer<HCXmlElement> HCXmlElement::getChild(size_t index) const
{
    return index < children_.size() ? pointerTo(children_[index].element) : nullptr;
}

bool HCXmlElement::isChildRead(size_t index) const
{
    return index < children_.size() && children_[index].read;
}

size_t HCXmlElement::findUnread(const char* name) const
{
    for (size_t i = firstUnread_; i < children_.size(); ++i) {
        if (!children_[i].read && (name == nullptr || children_[i].element->name() == name)) {
            return i;
        }
    }
    return children_.size();
}

void HCXmlElement::markRead(size_t index)
{
    children_[index].read = true;
    while (firstUnread_ < children_.size() && children_[firstUnread_].read) {
        ++firstUnread_;
    }
}

HCPointer<HCXmlElement> HCXmlElement::dequeueNextUnreadChild()
{
    const size_t i = findUnread(nullptr);
    if (i == children_.size()) {
        return nullptr;
    }
    markRead(i);
    return pointerTo(children_[i].element);
}

HCPointer<HCXmlElement> HCXmlElement::dequeueNextUnreadChild(const char* name)
{
    if (name == nullptr) {
        return nullptr;
    }
    const size_t i = findUnread(name);
    if (i == children_.size()) {
        return nullptr;
    }
    markRead(i);
    return pointerTo(children_[i].element);
}

bool HCXmlElement::getValueWithName(const char* name, std::optional<std::string>& outValue, bool markRead)
{
    if (name == nullptr) {
        return false;
    }
    const size_t i = findUnread(name);
    if (i == children_.size()) {
        return false;
    }
    if (markRead) {
        this->markRead(i);
    }
    outValue = children_[i].element->text();
    return true;
}

HCPointer<HCXmlElement> HCXmlElement::firstChildNamed(const char* name) const
{
    if (name == nullptr) {
        return nullptr;
    }
    for (const Child& child : children_) {
        if (child.element->name() == name) {
            return pointerTo(child.element);
        }
    }
    return nullptr;
}
