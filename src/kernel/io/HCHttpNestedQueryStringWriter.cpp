#include "kernel/io/HCHttpNestedQueryStringWriter.h"

#include <charconv>
#include <utility>

std::string HCHttpNestedQueryStringWriter::keyFor(const char* name) const
{
    const std::string key = name != nullptr ? name : "";
    const std::vector<ScopeEntry>& open = scopes();
    if (open.empty()) {
        return key;
    }
    std::string result = open.front().name;
    for (size_t i = 1; i < open.size(); ++i) {
        result += open[i - 1].isSeries ? "[]" : "[" + open[i].name + "]";
    }
    result += open.back().isSeries ? "[]" : "[" + key + "]";
    return result;
}

void HCHttpNestedQueryStringWriter::io(const char* name, const std::string& value)
{
    parameters_.emplace_back(keyFor(name), value);
}

void HCHttpNestedQueryStringWriter::io(const char* name, long long value)
{
    parameters_.emplace_back(keyFor(name), std::to_string(value));
}

void HCHttpNestedQueryStringWriter::io(const char* name, bool value)
{
    parameters_.emplace_back(keyFor(name), value ? "1" : "0");
}

// Printed as unsigned: a value above INT_MAX keeps its meaning instead of
// turning negative.
void HCHttpNestedQueryStringWriter::io(const char* name, unsigned value)
{
    parameters_.emplace_back(keyFor(name), std::to_string(value));
}

void HCHttpNestedQueryStringWriter::io(const char* name, int value)
{
    parameters_.emplace_back(keyFor(name), std::to_string(value));
}

// "%f" in the C locale whatever the process locale is: to_chars with a
// precision formats as printf would there.
void HCHttpNestedQueryStringWriter::io(const char* name, double value)
{
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    parameters_.emplace_back(keyFor(name), std::string(buffer, result.ptr));
}

void HCHttpNestedQueryStringWriter::ioBlob(const char* name, std::vector<uint8_t> blob, const std::string& dataType)
{
    parameters_.emplace_back(keyFor(name), std::move(blob), dataType);
}
