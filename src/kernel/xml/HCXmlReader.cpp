#include "kernel/xml/HCXmlReader.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "platform/foundation/TextConversions.h"

namespace {

std::string_view trimmed(const std::string& text)
{
    const char* ws = " \t\r\n";
    const size_t first = text.find_first_not_of(ws);
    if (first == std::string::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(ws);
    return std::string_view(text).substr(first, last - first + 1);
}

template <class Number>
bool parseNumber(const std::optional<std::string>& text, Number& out)
{
    if (!text) {
        return false;
    }
    std::string_view digits = trimmed(*text);
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    Number parsed{};
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size()) {
        return false;
    }
    out = parsed;
    return true;
}

}  // namespace

HCXmlReader::HCXmlReader(HCPointer<HCXmlDocument> document)
    : document_(document != nullptr ? std::move(document) : HCXmlDocument::xmlDocumentWithData(nullptr, 0))
{
}

HCXmlReader::Scope::Scope(HCXmlReader& reader, const char* name) : reader_(reader)
{
    reader_.document_->pushNextScope(name);
}

HCXmlReader::Scope::~Scope()
{
    reader_.document_->popScope();
}

bool HCXmlReader::take(const char* name, std::optional<std::string>& text)
{
    return document_->nextValueAtCurrentScopeWithKey(name, text);
}

bool HCXmlReader::io(const char* name, std::optional<std::string>& value)
{
    return take(name, value);
}

bool HCXmlReader::io(const char* name, std::string& value)
{
    std::optional<std::string> text;
    if (!take(name, text)) {
        return false;
    }
    value = text.value_or(std::string());
    return true;
}

template <class Number>
bool HCXmlReader::takeNumber(const char* name, Number& value)
{
    std::optional<std::string> text;
    return take(name, text) && parseNumber(text, value);
}

bool HCXmlReader::io(const char* name, long long& value)
{
    return takeNumber(name, value);
}

bool HCXmlReader::io(const char* name, int& value)
{
    return takeNumber(name, value);
}

bool HCXmlReader::io(const char* name, unsigned& value)
{
    return takeNumber(name, value);
}

bool HCXmlReader::io(const char* name, double& value)
{
    return takeNumber(name, value);
}

bool HCXmlReader::io(const char* name, bool& value)
{
    std::optional<std::string> text;
    if (!take(name, text)) {
        return false;
    }
    value = platform::boolValue(text.value_or(std::string()));
    return true;
}
