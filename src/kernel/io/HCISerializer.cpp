#include "kernel/io/HCISerializer.h"

HCISerializer::Scope::Scope(HCISerializer* serializer, const char* name, bool isSeries) : serializer_(serializer)
{
    if (serializer_ != nullptr) {
        serializer_->scopes_.push_back(ScopeEntry{name != nullptr ? name : "", isSeries});
    }
}

HCISerializer::Scope::~Scope()
{
    if (serializer_ != nullptr) {
        serializer_->scopes_.pop_back();
    }
}

void HCISerializer::io(const char* name, const char* value)
{
    if (value != nullptr) {
        io(name, std::string(value));
    }
}

void HCISerializer::io(const char* name, const std::optional<std::string>& value)
{
    if (value) {
        io(name, *value);
    }
}
