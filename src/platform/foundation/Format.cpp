#include "platform/foundation/Format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <locale.h>

namespace platform {
namespace {

struct Spec {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
    bool longModifier = false;
};

locale_t cLocale()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Runs one snprintf conversion in the C locale whatever the process locale is.
template <class T>
void appendPrintf(std::string& out, const Spec& spec, const char* lengthAndConversion, T value)
{
    std::string pattern = "%" + spec.flags;
    if (spec.width >= 0) pattern += std::to_string(spec.width);
    if (spec.precision >= 0) pattern += "." + std::to_string(spec.precision);
    pattern += lengthAndConversion;

    locale_t previous = uselocale(cLocale());
    char small[128];
    int n = std::snprintf(small, sizeof small, pattern.c_str(), value);
    if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
        out.append(small, static_cast<size_t>(n));
    } else if (n >= 0) {
        std::string big(static_cast<size_t>(n) + 1, '\0');
        std::snprintf(big.data(), big.size(), pattern.c_str(), value);
        out.append(big.data(), static_cast<size_t>(n));
    }
    uselocale(previous);
}

size_t utf8Length(std::string_view text)
{
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

// The first `characters` code points of the text, never splitting a sequence.
std::string_view utf8Prefix(std::string_view text, size_t characters)
{
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == characters) return text.substr(0, i);
            ++seen;
        }
    }
    return text;
}

// Width and precision count characters, as the platform's %@ did.
void appendText(std::string& out, const Spec& spec, std::string_view text)
{
    if (spec.precision >= 0) text = utf8Prefix(text, static_cast<size_t>(spec.precision));
    size_t length = utf8Length(text);
    size_t pad = spec.width > 0 && static_cast<size_t>(spec.width) > length ? spec.width - length : 0;
    bool left = spec.flags.find('-') != std::string::npos;
    if (!left) out.append(pad, ' ');
    out.append(text);
    if (left) out.append(pad, ' ');
}

std::string shortestReal(double v)
{
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, result.ptr);
}

std::string pointerText(const void* p)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
    return buf;
}

// The text an argument stands for by itself.
std::string naturalText(const FormatArg& arg)
{
    switch (arg.kind()) {
    case FormatArg::Kind::Null: return "(null)";
    case FormatArg::Kind::Signed: return std::to_string(arg.signedValue());
    case FormatArg::Kind::Unsigned: return std::to_string(arg.unsignedValue());
    case FormatArg::Kind::Real: return shortestReal(arg.realValue());
    case FormatArg::Kind::Text: return std::string(arg.textValue());
    case FormatArg::Kind::Object: return arg.objectValue()->description();
    case FormatArg::Kind::Pointer: return pointerText(arg.pointerValue());
    }
    return {};
}

long long realToInteger(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 9.2233720368547758e18) return LLONG_MAX;
    if (v <= -9.2233720368547758e18) return LLONG_MIN;
    return static_cast<long long>(v);
}

void appendInteger(std::string& out, const Spec& spec, const FormatArg& arg)
{
    bool isSigned = spec.conversion == 'd' || spec.conversion == 'i';
    long long s = 0;
    unsigned long long u = 0;
    bool argSigned = true;
    switch (arg.kind()) {
    case FormatArg::Kind::Null: break;
    case FormatArg::Kind::Signed: s = arg.signedValue(); break;
    case FormatArg::Kind::Unsigned:
        u = arg.unsignedValue();
        argSigned = false;
        break;
    case FormatArg::Kind::Real: s = realToInteger(arg.realValue()); break;
    default: appendText(out, spec, naturalText(arg)); return;
    }
    if (spec.conversion == 'c') {
        char c = static_cast<char>(argSigned ? s : static_cast<long long>(u));
        appendText(out, spec, std::string_view(&c, 1));
        return;
    }
    char conv[4] = {'l', 'l', spec.conversion, 0};
    if (isSigned) {
        appendPrintf(out, spec, conv, argSigned ? s : static_cast<long long>(u > LLONG_MAX ? LLONG_MAX : u));
        return;
    }
    if (argSigned) {
        // A negative int printed unsigned shows its 32-bit pattern, as C does.
        bool fitsInt = s >= INT_MIN && s <= INT_MAX;
        u = (fitsInt && !spec.longModifier) ? static_cast<unsigned>(static_cast<int>(s)) : static_cast<unsigned long long>(s);
    }
    appendPrintf(out, spec, conv, u);
}

void appendReal(std::string& out, const Spec& spec, const FormatArg& arg)
{
    double v = 0;
    switch (arg.kind()) {
    case FormatArg::Kind::Null: break;
    case FormatArg::Kind::Signed: v = static_cast<double>(arg.signedValue()); break;
    case FormatArg::Kind::Unsigned: v = static_cast<double>(arg.unsignedValue()); break;
    case FormatArg::Kind::Real: v = arg.realValue(); break;
    default: appendText(out, spec, naturalText(arg)); return;
    }
    char conv[2] = {spec.conversion, 0};
    appendPrintf(out, spec, conv, v);
}

void appendPointer(std::string& out, const Spec& spec, const FormatArg& arg)
{
    switch (arg.kind()) {
    case FormatArg::Kind::Pointer: appendText(out, spec, pointerText(arg.pointerValue())); break;
    case FormatArg::Kind::Object: appendText(out, spec, pointerText(arg.objectValue())); break;
    case FormatArg::Kind::Null: appendText(out, spec, "0x0"); break;
    default: appendText(out, spec, naturalText(arg)); break;
    }
}

bool isFlag(char c)
{
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}

bool isDigitInFormat(char c)
{
    return c >= '0' && c <= '9';
}

// Reads digits, capped so that a hostile pattern cannot ask for a huge field.
int readNumber(std::string_view pattern, size_t& i)
{
    int value = 0;
    while (i < pattern.size() && isDigitInFormat(pattern[i])) {
        value = std::min(value * 10 + (pattern[i] - '0'), 4096);
        ++i;
    }
    return value;
}

}  // namespace

std::string formatArgs(std::string_view pattern, const FormatArg* args, size_t count)
{
    static const FormatArg missing(nullptr);
    std::string out;
    out.reserve(pattern.size() + 16 * count);
    size_t next = 0;
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        size_t start = i++;
        Spec spec;
        while (i < pattern.size() && isFlag(pattern[i])) spec.flags += pattern[i++];
        if (i < pattern.size() && isDigitInFormat(pattern[i])) spec.width = readNumber(pattern, i);
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            spec.precision = readNumber(pattern, i);
        }
        while (i < pattern.size() && std::string_view("hlqLzjt").find(pattern[i]) != std::string_view::npos) {
            if (pattern[i] != 'h') spec.longModifier = true;
            ++i;
        }
        if (i >= pattern.size()) {
            out.append(pattern.substr(start));
            break;
        }
        spec.conversion = pattern[i++];
        if (spec.conversion == '%') {
            out += '%';
            continue;
        }
        std::string_view known("@diuxXocfFeEgGsp");
        if (known.find(spec.conversion) == std::string_view::npos) {
            out.append(pattern.substr(start, i - start));
            continue;
        }
        const FormatArg& arg = next < count ? args[next] : missing;
        ++next;
        switch (spec.conversion) {
        case '@':
        case 's': appendText(out, spec, naturalText(arg)); break;
        case 'p': appendPointer(out, spec, arg); break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G': appendReal(out, spec, arg); break;
        default: appendInteger(out, spec, arg); break;
        }
    }
    return out;
}

}  // namespace platform
